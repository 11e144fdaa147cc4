// The statistics text with a different number in every field, so that a
// figure taken from the wrong count shows; rendered for both game types
// with every check and fix on, then for arcade and for NeoGeo games alone
// with some checks off. Compared whole with statistics_text_figures.txt.
#include <gtest/gtest.h>

#include <cstdlib>

#include "report/statistics_text.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

TEST(StatisticsTextFigures, EveryFigureComesFromItsOwnCountAndAnUncheckedOneIsNotAvailable) {
  ScanStatistics c;
  static_assert(sizeof c % sizeof(int32_t) == 0);  // counts only, so they are numbered in order
  auto* counts = reinterpret_cast<int32_t*>(&c);
  for (size_t i = 0; i < sizeof c / sizeof(int32_t); ++i) counts[i] = static_cast<int32_t>(100 + i);
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
  for (const SettingsRecord* settings : {&all, &arcade, &neoGeo})
    text += RemoveCarriageReturns(BuildStatisticsText(c, *settings)) + "\n=====\n";
  const std::string path = testing::SourceDir() + "tests/report/statistics_text_figures.txt";
  if (const char* update = std::getenv("KESTREL_UPDATE_GOLDEN"); update != nullptr && std::string(update) == "1")
    testing::WriteFile(path, text);
  EXPECT_EQ(text, testing::ReadFile(path));
}

}  // namespace
}  // namespace kestrel
