// The dialogs' controls fed what users and damaged profiles really hand
// them: filter patterns with tabs, folders with stray files, games lines in
// another order, a list number that names no list, a step of zero, file
// filters cut short, radios of two groups side by side.
#include <gtest/gtest.h>

#include <algorithm>

#include "gui/file_filter.h"
#include "gui/games_list.h"
#include "gui/path_list_editing.h"
#include "gui/scanner_controls.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

// "1" per selected game, "0" otherwise, each game's line agreeing.
std::string Ticks(const GameList& games, const PathList& lines) {
  std::string ticks;
  for (const PathEntry& line : lines) EXPECT_EQ(line.enabled, games[line.game].selected) << line.path;
  for (const GameSet& game : games) ticks += game.selected ? '1' : '0';
  return ticks;
}

// pacman with the clone mspacman and two damaged clone references.
TEST(DialogControlsTakeOddInput, TheGamesFilterTrimsPatternsAndPassesOverStrayFiles) {
  GameList games(4);
  for (GameSet& game : games) game.roms.emplace_back();
  games[0].name = "pacman", games[1].name = "galaga", games[2].name = "dkong", games[3].name = "mspacman";
  games[0].isParent = games[3].hasParent = true;
  games[0].clones = {{"", 3}, {"", 99}, {"", -1}};
  games[3].parentIndex = 0;
  testing::TempFolder roms;
  for (const char* file : {"galaga.zip", "DKong/a.bin", "galaxian.zip"}) testing::WriteFile(roms / file, "");
  SettingsRecord record;
  record.romPaths = {{roms.path()}};
  record.parentClones = true;
  PathList lines = BuildGameList(games);
  std::reverse(lines.begin(), lines.end());  // the shown order need not be the games' order

  RunGamesFilter(record, lines, games, "\tgal*\t", true);
  EXPECT_EQ(Ticks(games, lines), "0100");
  RunGamesFilter(record, lines, games, "dk*", false);  // without clearing, earlier ticks stay
  SetGameSelected(record, lines, games, 0, true);
  EXPECT_EQ(Ticks(games, lines), "1111");
  SetGameSelected(record, lines, games, 3, false);  // a clone: its whole family follows
  // "All" on a path list leaves the games alone; on no list, nothing.
  record.currentPathList = PathListKind::kRomPaths;
  record.romPaths[0].enabled = false;
  SetAllLinesEnabled(record, lines, games, true);
  record.currentPathList = static_cast<PathListKind>(7);
  SetAllLinesEnabled(record, lines, games, false);
  EXPECT_TRUE(record.romPaths[0].enabled && ShownPathList(record, lines) == nullptr);
  EXPECT_EQ(Ticks(games, lines), "0110");
}

TEST(DialogControlsTakeOddInput, PathLinesStayWithoutARealMoveAndFoldersKeepTheirSpelling) {
  testing::TempFolder top;
  testing::WriteFile(top / "MyRoms/x", "");
  PathList list;
  EXPECT_TRUE(AddPath(list, top / "myroms") && AddPath(list, "/no/such/Samples"));
  EXPECT_FALSE(AddPath(list, top / "MYROMS/"));
  EXPECT_EQ(MovePathLine(list, 0, 0), 0);
  EXPECT_EQ(list[0].path + list[1].path, top / "MyRoms//no/such/Samples/");
}

TEST(DialogControlsTakeOddInput, FileFiltersWithoutDescriptionsOrCutShortBecomeQtsForm) {
  const char* cases[][2] = {
      {"|*.bin||", "*.bin (*.bin)"},                                // the patterns name it
      {"Data|*.dat|Dangling", "Data (*.dat)"},                      // no "||", a description alone
      {"Zips|*.zip;;*.7z ;|||", "Zips (*.zip *.7z)"},               // blank patterns dropped
      {"Smile :)|*.txt||", "Smile :) (*.txt)"},                     // a ')' that opens no group
      {"Roms (zipped) only|*.zip||", "Roms (zipped) only (*.zip)"}  // a group inside
  };
  for (const auto& c : cases) EXPECT_EQ(ToQtFileFilter(c[0]).toStdString(), c[1]) << c[0];
}

// The layout radios sit beside the game type radios: each stores its own
// layout, shown ticked alone.
TEST(DialogControlsTakeOddInput, EachScannerLayoutRadioStoresItsOwnLayout) {
  SettingsRecord settings;
  const std::pair<int, SetLayout> radios[] = {
      {kMergedRadio, SetLayout::kMerged}, {kSplitRadio, SetLayout::kSplit}, {kNoMergedRadio, SetLayout::kNonMerged},
      {kFullNonMergedRadio, SetLayout::kFullNonMerged}};
  for (const auto& [radio, layout] : radios) {
    StoreRadio(settings, radio);
    EXPECT_EQ(settings.scanMergeMode, layout) << radio;
    for (const auto& [other, _] : radios) EXPECT_EQ(IsRadioSelectedFor(settings, other), other == radio);
  }
}

}  // namespace
}  // namespace kestrel
