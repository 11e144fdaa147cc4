#include "report/game_results.h"

#include <gtest/gtest.h>

#include <utility>

#include "settings/settings_record.h"
#include "support/game_records.h"

namespace kestrel {
namespace {

// A ROM found as it should be, or not found at all.
RomScan Found(bool found) {
  RomScan scan;
  scan.found = scan.lengthCorrect = scan.caseCorrect = scan.checksumCorrect = found;
  return scan;
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
  game.roms = {testing::Rom("b.bin", 4096, 0xabcd), testing::Rom("c.bin", 1024, 1),
               testing::Rom("d.bin", 16, 2), testing::Rom("e.bin", 16, 0x33333333)};
  game.samples = {{"boom.wav"}, {"bang.wav"}};
  SetScan scan;
  scan.found = true;
  scan.nameOnDisk = "SGame";
  scan.wrongNames = {{"x.bin", "a.bin", "/roms/sgame/x.bin", true, false, {}, {}}};
  scan.roms = {Found(false), Found(true), Found(true), Found(true)};
  scan.roms[1].lengthCorrect = false;
  scan.roms[1].foundSize = 2048;
  scan.roms[1].lengthFixed = true;
  scan.roms[2].caseCorrect = false;
  scan.roms[2].foundName = "D.BIN";
  scan.roms[3].checksumCorrect = false;
  scan.roms[3].foundCrc = 0x0badf00d;
  scan.samples = {SampleScan{}, SampleScan{true, false, false, "BANG.wav", -1}};
  scan.unneeded.resize(1);
  scan.unneeded[0].name = "/roms/sgame/readme.txt";

  SettingsRecord settings;
  settings.checkCase = settings.fixCase = settings.fixLength = true;
  ResultsModel results;
  ScanStatistics stats;
  ASSERT_TRUE(BuildGameResults(game, scan, settings, results, stats));
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
