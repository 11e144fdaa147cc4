// The statistics text with a different number in every field, so that a
// figure taken from the wrong count shows; rendered for both game types
// with every check and fix on, then for arcade and for NeoGeo games alone
// with some checks off. Compared whole with statistics_text_figures.txt.
#include <algorithm>

#include <gtest/gtest.h>

#include "report/statistics_text.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

TEST(StatisticsTextFigures, EveryFigureComesFromItsOwnCountAndAnUncheckedOneIsNotAvailable) {
  ScanStatistics c;
  int32_t next = 100;
  for (int32_t* field : {&c.games, &c.neoGeoGames, &c.arcadeGames, &c.arcadeRoms, &c.neoGeoRoms, &c.samples,
                         &c.clones, &c.parents, &c.badDumps, &c.missingArcadeGames, &c.missingNeoGeoGames,
                         &c.wrongSpelledGames, &c.wrongSpelledGamesFixed, &c.wrongNamedGames, &c.wrongNamedGamesFixed,
                         &c.missingArcadeRoms, &c.missingNeoGeoRoms, &c.wrongNamedRoms, &c.wrongNamedRomsFixed,
                         &c.wrongSpelledRoms, &c.wrongSpelledRomsFixed, &c.wrongSizedRoms, &c.wrongSizedRomsFixed,
                         &c.wrongChecksums, &c.missingSamples, &c.wrongSpelledSamples, &c.wrongSpelledSamplesFixed,
                         &c.unneeded, &c.unneededFixed})
    *field = next++;
  c.games = 1000;  // more games than parents and clones: the others are the rest
  SettingsRecord all;
  all.checkCase = all.fixCase = all.fixName = all.fixLength = all.fixUnneeded = true;
  SettingsRecord arcade;
  arcade.scanGameTypes = ScanGameTypes::kArcadeOnly;
  arcade.scanSamples = arcade.checkName = arcade.checkUnneeded = false;
  SettingsRecord neoGeo;
  neoGeo.scanGameTypes = ScanGameTypes::kNeoGeoOnly;
  neoGeo.scanGames = neoGeo.checkChecksum = false;

  std::string text;
  for (const SettingsRecord* settings : {&all, &arcade, &neoGeo}) {
    const std::string one = BuildStatisticsText(c, *settings);
    EXPECT_EQ(std::count(one.begin(), one.end(), '\r'), std::count(one.begin(), one.end(), '\n'));
    text += RemoveCarriageReturns(one) + "\n=====\n";
  }
  EXPECT_EQ(text, testing::ReadFile(testing::SourceDir() + "tests/report/statistics_text_figures.txt"));
}

}  // namespace
}  // namespace kestrel
