// Disks in MAME's lists: read with their attributes, kept through
// validation, and placed by the set layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/disk_home.h"
#include "gamedb/game_list_reading.h"

namespace kestrel {
namespace {

constexpr char kSha1A[] = "5ff10f4e87094d4449eabf3de7549564ca568c7e";
constexpr char kSha1B[] = "E13DA5F827DF852E742B594729EE3F933B387410";

std::string Disks(const GameSet& game) {
  std::string text;
  for (const DiskEntry& disk : game.disks) {
    text += disk.name + ":" + (disk.sha1 ? Sha1Text(*disk.sha1) : "-") + ":" + disk.merge + ":" +
            std::to_string(int(disk.status)) + (disk.optional ? ":opt" : "") + " ";
  }
  return text;
}

// A BIOS with a disk, a parent whose disk merges into it, a clone sharing
// one disk with its parent and having one of its own, and a machine with
// only disks, listed twice and once without a dump.
const std::string kList = std::string("<mame>") +
    "<machine name=\"bios\" isbios=\"yes\"><description>B</description>"
    "<disk name=\"boot\" sha1=\"" + kSha1B + "\"/></machine>"
    "<machine name=\"par\" romof=\"bios\"><description>P</description>"
    "<rom name=\"p.rom\" size=\"4\" crc=\"1\" sha1=\"" + kSha1A + "\"/>"
    "<disk name=\"boot\" merge=\"boot\" sha1=\"" + kSha1B + "\"/>"
    "<disk name=\"hdd\" sha1=\"" + kSha1A + "\" status=\"baddump\"/></machine>"
    "<machine name=\"clo\" cloneof=\"par\" romof=\"par\"><description>C</description>"
    "<rom name=\"c.rom\" size=\"4\" crc=\"2\" sha1=\"bad\"/>"
    "<disk name=\"hddc\" merge=\"hdd\" sha1=\"" + kSha1A + "\"/>"
    "<disk name=\"cd\" sha1=\"" + kSha1B + "\" optional=\"yes\"/>"
    "<disk name=\"alt\" merge=\"hdd\" sha1=\"" + kSha1B + "\"/></machine>"
    "<machine name=\"only\"><description>O</description>"
    "<disk name=\"x\" status=\"nodump\"/><disk name=\"x\" sha1=\"" + kSha1A + "\"/><disk sha1=\"" + kSha1A +
    "\"/></machine>"
    "<machine name=\"none\"><description>N</description></machine></mame>";

TEST(DiskEntriesTest, ReadsDisksAndRomSha1AndKeepsMachinesWithOnlyDisks) {
  testing::TempFolder folder;
  testing::WriteFile(folder / "list.xml", kList);
  testing::Outcome read = testing::ReadList(folder / "list.xml");
  ASSERT_TRUE(read.ok);
  ASSERT_EQ(testing::Names(read.games), (std::vector<std::string>{"bios", "par", "clo", "only"}));
  EXPECT_EQ(Disks(read.games[1]), std::string("boot:e13da5f827df852e742b594729ee3f933b387410:boot:0 hdd:") +
                                      kSha1A + "::1 ");
  EXPECT_EQ(Disks(read.games[2]), std::string("hddc:") + kSha1A + ":hdd:0 cd:" +
                                      "e13da5f827df852e742b594729ee3f933b387410::0:opt alt:" +
                                      "e13da5f827df852e742b594729ee3f933b387410:hdd:0 ");
  EXPECT_EQ(read.games[1].roms[0].sha1, ParseSha1(kSha1A));
  EXPECT_FALSE(read.games[2].roms[0].sha1) << "a damaged sha1 is none";

  testing::Outcome valid = testing::Validate(read.games, kShowRomErrors);
  ASSERT_TRUE(valid.ok);
  EXPECT_EQ(Disks(valid.games[2]), std::string("x:-::2 "));
  EXPECT_EQ(valid.messages, std::vector<std::string>{"Double disk: 'x'\nin gameset: 'O'"});
}

TEST(DiskEntriesTest, LayoutsPlaceSharedAndOwnDisks) {
  testing::TempFolder folder;
  testing::WriteFile(folder / "list.xml", kList);
  testing::Outcome valid = testing::Validate(testing::ReadList(folder / "list.xml").games, kShowSetErrors);
  const GameList& db = valid.games;  // bios, clo, only, par
  const GameSet& bios = db[0];
  const GameSet& clone = db[1];
  const GameSet& parent = db[3];
  auto home = [&](const GameSet& game, int disk, SetLayout layout) {
    DiskHome where = DiskHomeOf(db, game, game.disks[size_t(disk)], layout);
    return where.set->name + "/" + where.name;
  };
  // The parent's disks are sorted by name: boot, hdd; the clone's: alt, cd,
  // hddc. "alt" merges under a name the parent has for another content.
  const std::vector<std::vector<std::string>> expected = {
      // non-merged, split, merged
      {"par/boot", "bios/boot", "bios/boot"},
      {"par/hdd", "par/hdd", "par/hdd"},
      {"clo/cd", "clo/cd", "par/cd"},
      {"clo/hddc", "par/hdd", "par/hdd"},
      {"clo/alt", "clo/alt", "par/alt"},
  };
  const SetLayout layouts[] = {SetLayout::kNonMerged, SetLayout::kSplit, SetLayout::kMerged};
  for (int l = 0; l < 3; ++l) {
    EXPECT_EQ(home(parent, 0, layouts[l]), expected[0][l]) << l;
    EXPECT_EQ(home(parent, 1, layouts[l]), expected[1][l]) << l;
    EXPECT_EQ(home(clone, 1, layouts[l]), expected[2][l]) << l;
    EXPECT_EQ(home(clone, 2, layouts[l]), expected[3][l]) << l;
    EXPECT_EQ(home(clone, 0, layouts[l]), expected[4][l]) << l;
  }
  EXPECT_TRUE(HoldsAnyDiskDump(db, clone, SetLayout::kSplit)) << "an optional disk lives there too";
  EXPECT_FALSE(HoldsAnyDiskDump(db, clone, SetLayout::kMerged));
  EXPECT_FALSE(HoldsAnyDiskDump(db, db[2], SetLayout::kSplit)) << "no dump";
  EXPECT_TRUE(HoldsAnyDiskDump(db, bios, SetLayout::kMerged));
}

}  // namespace
}  // namespace kestrel
