// A large XML list is read in parts on every core; whatever lies across
// the cuts, the games and the faults told are those of a reading in one
// piece. (On a machine of one core these read in one piece and still pass.)
#include <gtest/gtest.h>

#include <string>

#include "gamedb/game_list_reading.h"

namespace kestrel {
namespace {

using testing::Outcome;
using testing::ReadListText;

constexpr int kMachines = 20000;  // about 2.5 MB, well past the size that is cut

std::string Machines(int from, int to) {
  std::string text;
  for (int i = from; i < to; ++i) {
    std::string n = std::to_string(i);
    text += "\t<machine name=\"m" + n + "\"><description>M " + n + "</description><rom name=\"r.bin\" size=\"16\" crc=\"" + n +
            "\"/><chip type=\"cpu\" name=\"z80\"/></machine>\n";
  }
  return text;
}

// The DTD gives every ROM a status: each part reads the document's start.
const std::string kStart = "<?xml version=\"1.0\"?>\n<!DOCTYPE mame [\n<!ATTLIST rom status CDATA \"baddump\">\n]>\n<mame build=\"x\">\n";

TEST(XmlPartsTest, ReadsEveryMachineOnceInDocumentOrder) {
  Outcome read = ReadListText(kStart + Machines(0, kMachines) + "</mame>\n");
  ASSERT_TRUE(read.ok);
  ASSERT_EQ(read.games.size(), size_t(kMachines));
  for (int i = 0; i < kMachines; ++i) {
    const GameSet& game = read.games[size_t(i)];
    ASSERT_EQ(game.name, "m" + std::to_string(i));
    ASSERT_EQ(game.roms.at(0).crc, std::stoul(std::to_string(i), nullptr, 16));
    ASSERT_EQ(game.roms[0].status, DumpStatus::kBadDump) << i;
  }
}

// Machines commented out around the middle, where a cut falls, are no
// machines; a fault far on is told at its own line.
TEST(XmlPartsTest, ACommentOrAFaultAcrossACutReadsAsInOnePiece) {
  const int half = kMachines / 2;
  Outcome commented = ReadListText(kStart + Machines(0, half - 500) + "<!--\n" + Machines(half - 500, half + 500) +
                                   "-->\n" + Machines(half + 500, kMachines) + "</mame>\n");
  ASSERT_EQ(commented.games.size(), size_t(kMachines - 1000));
  EXPECT_EQ(commented.games[size_t(half - 500)].name, "m" + std::to_string(half + 500));

  const int faultAt = kMachines * 3 / 4;
  Outcome damaged = ReadListText(kStart + Machines(0, faultAt) + "<machine name=\"x\"><rom></machine>\n" +
                                 Machines(faultAt, kMachines) + "</mame>\n");
  EXPECT_FALSE(damaged.ok);
  ASSERT_EQ(damaged.messages.size(), 1u);
  const std::string line = "line " + std::to_string(5 + faultAt + 1) + ": mismatched tag !";
  EXPECT_NE(damaged.messages[0].find(line), std::string::npos) << damaged.messages[0];
}

}  // namespace
}  // namespace kestrel
