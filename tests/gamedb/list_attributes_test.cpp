#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/data_cache.h"
#include "gamedb/game_list_reading.h"

namespace kestrel {
namespace {

using testing::Outcome;
using testing::ReadListText;
using testing::TempFolder;

// One line per set: its rules, its sample source, each ROM's status and
// optional mark, and the files each sample is looked for as.
std::vector<std::string> Attributes(const GameList& games) {
  std::vector<std::string> lines;
  for (const GameSet& game : games) {
    std::string text = game.name + (game.rules == ListRules::kMame ? " mame" : " datfile") + " sampleof " +
                       (game.hasSampleOf ? game.sampleOf : "-");
    for (const RomEntry& rom : game.roms) {
      text += " " + rom.name + ":" + std::to_string(static_cast<int>(rom.status)) + (rom.optional ? ":opt" : "") +
              (MayLackRom(rom) ? ":may-lack" : "");
    }
    for (const SampleEntry& sample : game.samples) {
      text += " sample";
      for (const std::string& file : SampleFileNames(game, sample)) text += " " + file;
    }
    lines.push_back(text);
  }
  return lines;
}

// What MAME's list says of dumps and samples is kept through validation and
// the data cache; sample sets that are no machine stand without a word, and
// a set naming itself has its own samples.
TEST(ListAttributesTest, XmlListsKeepDumpStatusOptionalAndSharedSampleSets) {
  Outcome read = ReadListText(
      "<mame>\n"
      "<machine name=\"flip\" sampleof=\"genpin\"><description>Flip</description>\n"
      "  <rom name=\"good.bin\" size=\"4\" crc=\"1\" status=\"good\"/>\n"
      "  <rom name=\"bad.bin\" size=\"4\" crc=\"2\" status=\"baddump\"/>\n"
      "  <rom name=\"none.bin\" size=\"4\" status=\"nodump\"/>\n"
      "  <rom name=\"opt.bin\" size=\"4\" crc=\"3\" optional=\"yes\"/>\n"
      "  <sample name=\"tick\"/><sample name=\"BELL.WAV\"/><sample name=\"ring.Flac\"/></machine>\n"
      "<machine name=\"self\" sampleof=\"self\"><description>Self</description>\n"
      "  <rom name=\"s.bin\" size=\"4\" crc=\"4\"/><sample name=\"boom\"/></machine>\n"
      "<machine name=\"selfclone\" cloneof=\"self\" sampleof=\"self\"><description>Self 2</description>\n"
      "  <rom name=\"t.bin\" size=\"4\" crc=\"5\"/></machine>\n"
      "</mame>\n");
  ASSERT_TRUE(read.ok);
  Outcome valid = testing::Validate(read.games, 2);
  EXPECT_TRUE(valid.messages.empty()) << valid.messages.front();
  const std::vector<std::string> expected = {
      "flip mame sampleof genpin bad.bin:1 good.bin:0 none.bin:2:may-lack opt.bin:0:opt:may-lack"
      " sample BELL.WAV sample ring.Flac sample tick.wav tick.flac",
      "self mame sampleof - s.bin:0 sample boom.wav boom.flac",
      "selfclone mame sampleof self t.bin:0",
  };
  EXPECT_EQ(Attributes(valid.games), expected);

  TempFolder folder;
  ASSERT_TRUE(WriteDataCache(folder / "cache", valid.games, 1));
  GameList cached;
  ASSERT_TRUE(ReadDataCache(folder / "cache", cached, 1, nullptr));
  EXPECT_EQ(Attributes(cached), expected);
}

// Text datfiles keep their rules: a sample source that is no set is told
// of and dropped, and a 0-CRC ROM is a bad dump that a scan may stand in for.
TEST(ListAttributesTest, TextDatfilesKeepTheirOwnRules) {
  Outcome read = ReadListText(
      "game ( name flip description \"Flip\" sampleof genpin\n"
      "  rom ( name none.bin size 4 crc 00000000 )\n"
      "  sample tick.wav\n)\n");
  ASSERT_TRUE(read.ok);
  Outcome valid = testing::Validate(read.games, 2);
  ASSERT_EQ(valid.messages.size(), 1u);
  EXPECT_NE(valid.messages[0].find("doesn't exist !"), std::string::npos);
  EXPECT_EQ(Attributes(valid.games), std::vector<std::string>{"flip datfile sampleof - none.bin:0 sample tick.wav"});
  EXPECT_TRUE(valid.games[0].roms[0].noDump);
}

}  // namespace
}  // namespace kestrel
