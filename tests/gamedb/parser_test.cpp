#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/scripted_interface.h"
#include "gamedb/datfile_parser.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;
using testing::WriteFile;

// The real game lists kept beside the source tree.
std::string RealDatsFolder() {
  std::string beside = testing::SourceDir() + "/../shared/realdats/";
  return FileExists(beside + "SOURCES.md") ? beside : "/work/shared/realdats/";
}

struct Parsed {
  bool ok = false;
  GameList games;
  std::vector<std::string> progressTexts;
};

Parsed Parse(const std::string& text, bool enableRomOf = false, int cancelAtCheck = 0) {
  TempFolder folder;
  WriteFile(folder / "list.dat", text);
  ScriptedInterface ui;
  ui.cancelAtCheck = cancelAtCheck;
  auto progress = OpenProgressDialog(&ui, "");
  Parsed parsed;
  parsed.ok = ParseDatfile(parsed.games, folder / "list.dat", *progress, enableRomOf);
  parsed.progressTexts = ui.progressTexts;
  return parsed;
}

// One line per set: what the parser took from its block.
std::vector<std::string> Describe(const GameList& games) {
  std::vector<std::string> lines;
  for (const GameSet& game : games) {
    std::string text = game.name + " '" + game.description + "'";
    if (game.hasParent) text += " cloneof " + game.cloneOf;
    if (game.hasSampleOf) text += " sampleof " + game.sampleOf;
    for (const RomEntry& rom : game.roms) {
      char crc[12];
      std::snprintf(crc, sizeof crc, "%x", rom.crc);
      text += " rom " + rom.name + ":" + std::to_string(rom.size) + ":" + crc;
    }
    for (const SampleEntry& sample : game.samples) text += " sample " + sample.name;
    lines.push_back(text);
  }
  return lines;
}

TEST(ParseDatfileTest, KeepsCompleteBlocksAndSkipsUnknownFields) {
  Parsed parsed = Parse(
      "emulator ( name \"header\" description \"not a game\" )\n"
      "game (\n"
      "  name pacman\n  description \"Pac-Man (Midway)\"\n  year 1980\n"
      "  cloneof puckman sampleof pacsnd\n"
      "  rom ( name pm.6e size 4096 crc C1E6AB10 region cpu1 )\n"
      "  rom ( name pm.6f size 4096 crc32 1A6FB2D4 )\n"
      "  chip ( type cpu name z80 clock 3072000 )\n"
      "  sample chomp sample \"\"\n"
      ")\n"
      "game ( name sizeless description \"Zero\" rom ( name a.bin size 0 crc 12345678 ) )\n"
      "game ( name nameless description \"No name\" rom ( size 16 crc 12345678 ) )\n"
      "game ( name nodesc rom ( name a.bin size 16 crc 12345678 ) )\n"
      "game ( name rom description sample sample rom rom ( name rom size 8 ) )\n"
      "game noparen name x\n"
      "game ( name pacman description \"Again\" rom ( name b size 1 crc 1 ) )\n");
  ASSERT_TRUE(parsed.ok);
  // A nested block's "name" is not the set's; values that look like keywords
  // are only values; a set listed twice stays twice (validation decides).
  EXPECT_EQ(Describe(parsed.games),
            (std::vector<std::string>{
                "pacman 'Pac-Man (Midway)' cloneof puckman sampleof pacsnd rom pm.6e:4096:c1e6ab10 "
                "rom pm.6f:4096:1a6fb2d4 sample chomp",
                "rom 'sample' rom rom:8:0 sample rom", "pacman 'Again' rom b:1:1"}));
  EXPECT_EQ(parsed.games[0].romCount + 10 * parsed.games[0].sampleCount, 12);
  EXPECT_EQ(parsed.games[0].roms[1].crcComplement, ~0x1A6FB2D4u);
  EXPECT_TRUE(parsed.games[1].roms[0].noDump);  // no crc field: no known dump
  EXPECT_EQ(parsed.games[1].roms[0].crcComplement, 0xFFFFFFFFu);
  // One progress text per block, dropped blocks included.
  EXPECT_EQ(parsed.progressTexts.size(), 7u);
  EXPECT_EQ(parsed.progressTexts[0], "\n\nPac-Man (Midway)");
}

TEST(ParseDatfileTest, ReadsNumberFormsAndRomOf) {
  Parsed parsed = Parse(
      "game ( name n description d\n"
      " rom ( name prefixed size 10 crc 0x8e68533E )\n"
      " rom ( name zero size 10 crc 00000000 )\n"
      " rom ( name digits size 12abc crc 123 )\n"
      " rom ( name nosize size abc crc 1 )\n"
      " rom ( name huge size 99999999999 crc FFFFFFFFFF )\n"
      " rom ( name negative size -5 crc 1 )\n"
      " rom ( name badcrc size 3 crc 1 crc zz )\n"  // an unreadable value keeps the earlier one
      ")\n");
  ASSERT_TRUE(parsed.ok);
  EXPECT_EQ(Describe(parsed.games),
            (std::vector<std::string>{"n 'd' rom prefixed:10:8e68533e rom zero:10:0 rom digits:12:123 "
                                      "rom huge:2147483647:ffffffff rom badcrc:3:1"}));
  const std::vector<RomEntry>& roms = parsed.games[0].roms;
  EXPECT_TRUE(roms[1].noDump);
  EXPECT_EQ(roms[1].crcComplement, 0xFFFFFFFFu);
  EXPECT_FALSE(roms[4].noDump);

  const std::string romOf = "game ( name c description d cloneof a romof b rom ( name r size 1 crc 1 ) )\n";
  EXPECT_EQ(Parse(romOf, false).games[0].cloneOf, "a");
  EXPECT_EQ(Parse(romOf, true).games[0].cloneOf, "b");
}

TEST(ParseDatfileTest, SurvivesDamagedText) {
  const std::string good = "game ( name ok description \"Ok\" rom ( name r size 1 crc 1 ) )\n";
  // A stray ")" ends a block early; the rest is read past.
  Parsed unbalanced = Parse("game ( name a ) description x rom ( name r size 1 ) ) )\n" + good);
  EXPECT_TRUE(unbalanced.ok);
  ASSERT_EQ(unbalanced.games.size(), 1u);
  EXPECT_EQ(unbalanced.games[0].name, "ok");

  // A block cut off by the end of the file is dropped.
  Parsed truncated = Parse(good + "game ( name cut description \"Cut\" rom ( name r size 1 crc 1 ) \n");
  EXPECT_TRUE(truncated.ok);
  EXPECT_EQ(truncated.games.size(), 1u);

  std::string binary;
  for (int i = 0; i < 70000; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
  Parsed garbage = Parse(binary + "\n" + good);
  EXPECT_TRUE(garbage.ok);
}

// Some lists put every game on one line: all of it is read. Only a single
// token is bounded, and a cut one is reported, never silently.
TEST(ParseDatfileTest, ReadsLongLinesWholeAndReportsCutTokens) {
  std::string oneLine;
  for (int i = 0; i < 60000; ++i) {
    oneLine += "game ( name g" + std::to_string(i) + " description \"Game " + std::to_string(i) +
               "\" rom ( name r.bin size 1024 crc 1234abcd ) ) ";
  }
  ASSERT_GT(oneLine.size(), size_t{5} << 20);
  Parsed all = Parse(oneLine + "\n");
  ASSERT_TRUE(all.ok);
  ASSERT_EQ(all.games.size(), 60000u);
  EXPECT_EQ(all.games.back().name, "g59999");

  ScriptedInterface ui;
  SetApplicationInterface(&ui);
  std::string huge(DatfileStream::kMaxTokenLength + 10, 'x');
  Parsed cut = Parse("\ngame ( name " + huge + " description " + huge +
                     " rom ( name r size 1 crc 1 ) ) game ( name b description B rom ( name r size 1 ) )\n");
  SetApplicationInterface(nullptr);
  ASSERT_EQ(cut.games.size(), 2u);
  EXPECT_EQ(cut.games[0].name.size(), DatfileStream::kMaxTokenLength);
  EXPECT_EQ(cut.games[1].name, "b");
  ASSERT_EQ(ui.MessageTexts().size(), 1u);
  EXPECT_NE(ui.MessageTexts()[0].find("list.dat'\n\nline 2 (and 1 more) !"), std::string::npos)
      << ui.MessageTexts()[0];
  EXPECT_TRUE(Parse("game ( name a description A rom ( name r size 1 ) )\n").ok);
}

TEST(ParseDatfileTest, FailsWithoutGamesAndOnCancel) {
  auto progress = OpenProgressDialog(nullptr, "");
  GameList games(1);
  EXPECT_FALSE(ParseDatfile(games, "/nonexistent/folder/list.dat", *progress, false));
  EXPECT_TRUE(games.empty());
  EXPECT_FALSE(Parse("emulator ( name x )\n").ok);

  const std::string game = "game ( name a description \"A\" rom ( name r size 1 crc 1 ) )\n";
  Parsed cancelled = Parse(game + game + game, false, 2);
  EXPECT_FALSE(cancelled.ok);
  EXPECT_EQ(cancelled.games.size(), 2u);  // what was read stays
}

// The real listings: text ones parse without trouble; lists whose blocks have
// no description keep nothing.
TEST(ParseDatfileTest, ReadsRealListings) {
  struct Case {
    const char* file;
    bool ok;
    size_t games;
  };
  const Case cases[] = {
      {"mame4all-pi-adv_list.dat", true, 2271},
      {"psp-mame4all_roms.dat", true, 1205},
      {"libretro-database_MAME_2003_split.dat", false, 0},
      {"libretro-database_HBMAME.dat", false, 0},
  };
  const std::string folder = RealDatsFolder();
  if (!FileExists(folder + cases[0].file)) GTEST_SKIP() << "no real listings on this machine";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    auto progress = OpenProgressDialog(nullptr, "");
    GameList games;
    EXPECT_EQ(ParseDatfile(games, folder + c.file, *progress, false), c.ok);
    EXPECT_EQ(games.size(), c.games);
  }
}

}  // namespace
}  // namespace kestrel
