// Ticking games in the settings dialog's games list, without the dialog.
#include <gtest/gtest.h>

#include "gui/games_list.h"

#include "support/temp_folder.h"

namespace kestrel {
namespace {

// pacman with clones puckman and pacmanf, galaga alone, and two clones
// whose parent references are damaged.
struct Games {
  GameList database = GameList(6);
  SettingsRecord record;

  Games() {
    const char* names[] = {"pacman", "puckman", "pacmanf", "galaga", "lost", "orphan"};
    for (size_t i = 0; i < database.size(); ++i) database[i].name = names[i];
    database[0].isParent = true;
    database[0].clones = {{"", 1}, {"", 2}};
    for (int clone : {1, 2}) {
      database[clone].hasParent = true;
      database[clone].parentIndex = 0;
    }
    database[4].hasParent = database[5].hasParent = true;
    database[4].parentIndex = 42;
    database[5].parentIndex = -1;
    BuildGameList(record, database);
  }

  // "1" per selected game, "0" otherwise; the lines must agree.
  std::string Ticks() const {
    std::string ticks;
    for (size_t i = 0; i < database.size(); ++i) {
      EXPECT_EQ(record.gameList[i].enabled, database[i].selected) << database[i].name;
      ticks += database[i].selected ? '1' : '0';
    }
    return ticks;
  }
};

TEST(GamesList, ATickedCloneCarriesItsFamilyOnlyWithParentClones) {
  Games games;
  EXPECT_EQ(games.record.gameList[1].path, " <puckman>");
  games.record.parentClones = true;
  SetGameSelected(games.record, games.database, 1, false);  // a clone: parent and every clone follow
  EXPECT_EQ(games.Ticks(), "000111");
  SetGameSelected(games.record, games.database, 0, true);   // the parent: its clones follow
  EXPECT_EQ(games.Ticks(), "111111");
  SetGameSelected(games.record, games.database, 4, false);  // damaged parent references: itself only
  SetGameSelected(games.record, games.database, 5, false);
  EXPECT_EQ(games.Ticks(), "111100");

  games.record.parentClones = false;
  SetGameSelected(games.record, games.database, 2, false);
  SetGameSelected(games.record, games.database, 3, false);
  EXPECT_EQ(games.Ticks(), "110000");
  SetGameSelected(games.record, games.database, 9, true);  // no such game
  EXPECT_EQ(games.Ticks(), "110000");
}

// The filter ticks the sets its patterns find in the enabled paths; a
// filter of no pattern changes nothing.
TEST(GamesList, TheFilterTicksWhatItFindsInTheEnabledPaths) {
  Games games;
  testing::TempFolder roms, off;
  testing::WriteFile(roms / "galaga.zip", "");
  testing::WriteFile(off / "pacman.zip", "");
  for (GameSet& game : games.database) game.roms.emplace_back();
  games.record.romPaths = {{roms.path()}, {off.path(), false}};
  RunGamesFilter(games.record, games.database, " ; ", true);
  EXPECT_EQ(games.Ticks(), "111111");
  RunGamesFilter(games.record, games.database, "pac*;  ; gal*", true);
  EXPECT_EQ(games.Ticks(), "000100");
  games.record.currentPathList = 4;  // the games list shown: "all" ticks every game
  SetAllLinesEnabled(games.record, games.database, true);
  EXPECT_EQ(games.Ticks(), "111111");
}

}  // namespace
}  // namespace kestrel
