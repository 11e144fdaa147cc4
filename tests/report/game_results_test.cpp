#include "report/game_results.h"

#include <gtest/gtest.h>

#include <utility>

#include "settings/settings_record.h"
#include "support/game_records.h"

namespace kestrel {
namespace {

RomEntry Rom(const std::string& name, int32_t size, uint32_t crc, bool found) {
  RomEntry rom = testing::Rom(name, size, crc);
  rom.romScan.found = rom.romScan.lengthCorrect = rom.romScan.caseCorrect = rom.romScan.checksumCorrect = found;
  return rom;
}

using Lines = std::vector<std::pair<std::string, ResultKind>>;

Lines LinesOf(const ResultsModel& results) {
  Lines lines;
  for (const ResultLine& line : results.lines) lines.emplace_back(line.text, line.kind);
  return lines;
}

TEST(GameResultsTest, EveryKindOfFindingReadsAsItsLine) {
  GameSet game;
  game.name = "sgame";
  game.description = "Some Game";
  game.hasParent = true;
  game.cloneOf = "sgamep";
  game.scanStatus[kSetFound] = 1;
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

}  // namespace
}  // namespace kestrel
