// The settings dialog's lists and the file dialogs' filters fed what users
// and damaged profiles really hand them: patterns with tabs, folders with
// stray files, lines in another order than the games, a list number that
// names no list, a step of zero, filters cut short.
#include <gtest/gtest.h>

#include <algorithm>

#include "gui/file_filter.h"
#include "gui/games_list.h"
#include "gui/path_list_editing.h"
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

TEST(GamesListOddLines, TheFilterFindsSetsByTrimmedPatternsAndPassesOverStrayFiles) {
  GameList games(4);
  const char* names[] = {"pacman", "galaga", "dkong", "mspacman"};
  for (size_t i = 0; i < games.size(); ++i) {
    games[i].name = names[i];
    games[i].roms.emplace_back();
  }
  games[0].isParent = true;
  games[0].clones = {{"", 3}, {"", 99}, {"", -1}};  // damaged references tick nothing
  games[3].hasParent = true;
  games[3].parentIndex = 0;
  testing::TempFolder roms;
  testing::WriteFile(roms / "galaga.zip", "");
  testing::WriteFile(roms / "DKong/a.bin", "");  // a set as a folder, spelled otherwise
  testing::WriteFile(roms / "galaxian.zip", "");  // no game of that name
  SettingsRecord record;
  record.romPaths = {{roms.path()}};
  PathList lines = BuildGameList(games);
  std::reverse(lines.begin(), lines.end());  // the shown order need not be the games' order

  RunGamesFilter(record, lines, games, "\tgal*\t", true);
  EXPECT_EQ(Ticks(games, lines), "0100");
  RunGamesFilter(record, lines, games, "dk*", false);  // without clearing, earlier ticks stay
  EXPECT_EQ(Ticks(games, lines), "0110");
  record.parentClones = true;
  SetGameSelected(record, lines, games, 0, true);
  EXPECT_EQ(Ticks(games, lines), "1111");
  SetGameSelected(record, lines, games, 3, false);  // a clone: its whole family follows
  EXPECT_EQ(Ticks(games, lines), "0110");

  // "All" on a path list leaves the games alone; a number that names no
  // list changes nothing.
  record.currentPathList = PathListKind::kRomPaths;
  record.romPaths[0].enabled = false;
  SetAllLinesEnabled(record, lines, games, true);
  EXPECT_TRUE(record.romPaths[0].enabled);
  EXPECT_EQ(Ticks(games, lines), "0110");
  record.currentPathList = static_cast<PathListKind>(7);
  EXPECT_EQ(ShownPathList(record, lines), nullptr);
  SetAllLinesEnabled(record, lines, games, false);
  EXPECT_EQ(Ticks(games, lines), "0110");
}

// A step of zero and a line number out of range leave the list as it is;
// an existing folder is added as the file system spells it.
TEST(PathListOddLines, NothingMovesOrGoesWithoutARealLineAndFoldersKeepTheirSpelling) {
  testing::TempFolder top;
  testing::WriteFile(top / "MyRoms/x", "");
  PathList list;
  EXPECT_TRUE(AddPath(list, top / "myroms"));
  EXPECT_TRUE(AddPath(list, "/no/such/Samples"));
  EXPECT_FALSE(AddPath(list, top / "MYROMS/"));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].path, top / "MyRoms/");
  EXPECT_EQ(MovePathLine(list, 0, 0), 0);
  RemovePathLine(list, -1);
  RemovePathLine(list, 2);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].path + list[1].path, top / "MyRoms//no/such/Samples/");
  EXPECT_EQ(list[1].position, 1);
}

TEST(FileFilterOddLines, FiltersWithoutDescriptionsOrCutShortStillBecomeQtsForm) {
  const char* cases[][2] = {
      {"|*.bin||", "*.bin (*.bin)"},                         // no description: the patterns name it
      {"Data|*.dat", "Data (*.dat)"},                        // no closing "||"
      {"Data|*.dat|Dangling", "Data (*.dat)"},               // a description without patterns
      {"Zips|*.zip;;*.7z ;|||", "Zips (*.zip *.7z)"},        // blank patterns dropped
      {"Smile :)|*.txt||", "Smile :) (*.txt)"},              // a ')' that opens no group
      {"Roms (zipped) only|*.zip||", "Roms (zipped) only (*.zip)"},  // a group that names no pattern
  };
  for (const auto& c : cases) EXPECT_EQ(ToQtFileFilter(c[0]).toStdString(), c[1]) << c[0];
}

}  // namespace
}  // namespace kestrel
