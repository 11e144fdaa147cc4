#include "report/statistics_text.h"

#include <gtest/gtest.h>

#include "settings/settings_record.h"

namespace kestrel {
namespace {

TEST(StatisticsTextTest, FullScanUncheckedPartsAndGameTypes) {
  SettingsRecord settings;
  settings.checkCase = settings.fixCase = true;
  settings.scanGameTypes = 2;
  ScanStatistics stats;
  stats.games = stats.arcadeGames = 2;
  stats.missingArcadeGames = stats.parents = stats.badDumps = 1;
  stats.arcadeRoms = 5;
  stats.missingArcadeRoms = 3;
  stats.samples = 4;
  stats.unneeded = 2;
  // Blank lines part the blocks; the text ends without a line end.
  EXPECT_EQ(RemoveCarriageReturns(BuildStatisticsText(stats, settings)),
            "Missing Games:          1 of 2\nMissing Arcade Games:   1 of 2\n"
            "Missing NeoGeo Games:   0 of 0\nWrong Spelled Games:    0 [0 fixed]\n"
            "Wrong Named Games:      0\n\n"
            "Missing Roms:           3 of 5\nMissing Arcade Roms:    3 of 5\n"
            "Missing NeoGeo Roms:    0 of 0\nWrong Named Roms:       0\n"
            "Wrong Spelled Roms:     0 [0 fixed]\nWrong Sized Roms:       0\n"
            "Wrong Checksums:        0\n\n"
            "Missing Samples:        0 of 4\nWrong Spelled Samples:  0 [0 fixed]\n\n"
            "Unneeded Files/Folders: 2\n\n"
            "Number Of Games:        2\nNumber Of NeoGeo Games: 0\n"
            "Number Of Arcade Games: 2\nNumber Of Parents:      1\n"
            "Number Of Clones:       0\nNumber Of Others:       1\n\n"
            "Number Of Roms:         5\nNumber Of Arcade Roms:  5\nNumber Of NeoGeo Roms:  0\n\n"
            "Number Of Samples:      4\n\nNumber Of Bad Dumps:    1");

  settings.scanGames = false;
  EXPECT_EQ(BuildStatisticsText(stats, settings).substr(0, 93),
            "Missing Games:          <n/a>\r\nWrong Spelled Games:    <n/a>\r\n"
            "Wrong Named Games:      <n/a>\r\n");
  settings.scanGameTypes = 1;
  const std::string text = BuildStatisticsText(stats, settings);
  EXPECT_EQ(text.find("Missing Arcade"), std::string::npos);
  EXPECT_NE(text.find("Missing NeoGeo Roms:"), std::string::npos);
}

}  // namespace
}  // namespace kestrel
