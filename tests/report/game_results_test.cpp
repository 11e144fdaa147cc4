#include "report/game_results.h"

#include <gtest/gtest.h>

#include <utility>

#include "settings/settings_record.h"
#include "support/game_records.h"

namespace kestrel {
namespace {

RomEntry Rom(const std::string& name, int32_t size, uint32_t crc, bool found) {
  RomEntry rom = testing::Rom(name, size, crc);
  RomScan& scan = rom.romScan;
  scan.found = scan.lengthCorrect = scan.caseCorrect = scan.checksumCorrect = found;
  return rom;
}

GameSet Game(const std::string& name, const std::string& description, bool found) {
  GameSet game;
  game.name = name;
  game.description = description;
  game.scanStatus[kSetFound] = game.scanStatus[kSetCaseCorrect] = found;
  return game;
}

using Lines = std::vector<std::pair<std::string, ResultKind>>;

Lines LinesOf(const ResultsModel& results) {
  Lines lines;
  for (const ResultLine& line : results.lines) lines.emplace_back(line.text, line.kind);
  return lines;
}

TEST(GameResultsTest, EveryKindOfFindingReadsAsItsLine) {
  GameSet game = Game("sgame", "Some Game", true);
  game.hasParent = true;
  game.cloneOf = "sgamep";
  game.scanStatus[kSetCaseCorrect] = 0;
  game.scanText2 = "SGame";
  game.scanRecordsB = {{"x.bin", "a.bin", "/roms/sgame/x.bin", true, false, {}, {}}};
  game.roms = {Rom("b.bin", 4096, 0xabcd, false), Rom("c.bin", 1024, 1, true),
               Rom("d.bin", 16, 2, true), Rom("e.bin", 16, 0x33333333, true)};
  game.roms[1].romScan.lengthCorrect = 0;
  game.roms[1].romScan.foundSize = 2048;
  game.roms[1].romScan.lengthFixed = 1;
  game.roms[2].romScan.caseCorrect = 0;
  game.roms[2].romScan.foundName = "D.BIN";
  game.roms[3].romScan.checksumCorrect = 0;
  game.roms[3].romScan.foundCrc = 0x0badf00d;
  game.samples.resize(2);
  game.samples[0].name = "boom.wav";
  game.samples[1] = {"bang.wav", 1, 0, 0, "BANG.wav", -1};
  game.scanRecordsA.resize(1);
  game.scanRecordsA[0].name = "/roms/sgame/readme.txt";

  SettingsRecord settings;
  settings.checkCase = settings.fixCase = settings.fixLength = true;
  ResultsModel results;
  ScanStatistics stats;
  ASSERT_TRUE(BuildGameResults(game, settings, results, stats));
  const Lines expected = {
      {"Some Game [folder: sgame - parent: sgamep]", kResultGameHeader},
      {"wrong spelling: sgame [wrong: SGame] [right: sgame] [not fixed]", kResultGameCase},
      {"wrong name: /roms/sgame/x.bin [wrong: x.bin] [right: a.bin]", kResultRomName},
      {"missing rom: b.bin [length: 4096] [chksum: abcd (ffff5432)]", kResultMissingRom},
      {"wrong length: c.bin [wrong: 2048] [right: 1024] [fixed]", kResultWrongLength},
      {"wrong spelling: d.bin [wrong: D.BIN] [right: d.bin] [not fixed]", kResultRomCase},
      {"wrong checksum: e.bin [wrong: badf00d] [right: 33333333 (cccccccc)]", kResultWrongChecksum},
      {"missing sample: boom.wav", kResultMissingSample},
      {"wrong spelling: bang.wav[wrong: BANG.wav] [right: bang.wav] [not fixed]", kResultSampleCase},
      {"unneeded file: /roms/sgame/readme.txt", kResultUnneeded},
  };
  EXPECT_EQ(LinesOf(results), expected);
  // Fix name was off: the fixed wrong name counts as found, not as fixed.
  EXPECT_EQ(stats.wrongNamedRoms, 1);
  EXPECT_EQ(stats.wrongNamedRomsFixed, 0);
  EXPECT_EQ(stats.wrongSizedRomsFixed, 1);
  EXPECT_EQ(stats.missingArcadeRoms + stats.wrongSpelledRoms + stats.wrongChecksums, 3);
}

TEST(GameResultsTest, MissingSetsAndBadDumps) {
  // A ROM never dumped counts as missing only when asked for.
  GameSet zero = Game("zgame", "Zero Game", true);
  zero.roms = {Rom("nodump.bin", 1024, 0, false), Rom("ok.bin", 16, 5, true)};
  SettingsRecord settings;
  settings.checkCase = true;
  settings.showMissingZeroCrcs = false;
  ResultsModel results;
  ScanStatistics stats;
  EXPECT_FALSE(BuildGameResults(zero, settings, results, stats));
  EXPECT_TRUE(results.items.empty());
  settings.showMissingZeroCrcs = true;
  EXPECT_TRUE(BuildGameResults(zero, settings, results, stats));
  EXPECT_EQ(results.lines.back().text,
            "missing rom: nodump.bin [length: 1024] [chksum: 0 (ffffffff)]");

  GameSet absent = Game("neo1", "Neo One", false);
  absent.hasNeoGeoBios = true;
  absent.roms = {Rom("p1.rom", 10, 7, false), Rom("s1.rom", 20, 8, false)};
  ResultsModel neo;
  ASSERT_TRUE(BuildGameResults(absent, settings, neo, stats));
  EXPECT_EQ(LinesOf(neo),
            (Lines{{"Neo One [folder: neo1]", kResultMissingSetHeader},
                   {"missing game: Neo One", kResultMissingGame},
                   {"missing rom: p1.rom [length: 10] [chksum: 7 (fffffff8)]", kResultMissingRom},
                   {"missing rom: s1.rom [length: 20] [chksum: 8 (fffffff7)]", kResultMissingRom}}));
  EXPECT_EQ(stats.missingNeoGeoGames, 1);
  EXPECT_EQ(stats.missingNeoGeoRoms, 2);
}

}  // namespace
}  // namespace kestrel
