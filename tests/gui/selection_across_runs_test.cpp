// The user's choice of games outlives restarts, including one in which the
// data could not be loaded.
#include <gtest/gtest.h>

#include <QSettings>
#include <cstdio>

#include "acquire/acquire_game_data.h"
#include "gui/gui_test_helpers.h"
#include "gui/main_window.h"
#include "gui/settings_dialog.h"
#include "gui/user_values.h"
#include "settings/profile.h"

namespace kestrel {
namespace {

class SelectionAcrossRunsTest : public ::testing::Test {
 protected:
  SelectionAcrossRunsTest() { QSettings(QSettings::IniFormat, QSettings::UserScope, "Kestrel", "Kestrel").clear(); }

  // Starts the program from "_last.kpf" and closes it again, as a user who
  // looks at nothing would; returns which games were selected meanwhile.
  std::vector<std::string> StartAndClose() {
    MainWindow window(data.path(), UserValues{.veryFirstTime = 0, .layout = {}}, &zipLevel);
    window.SetInterface(&ui);
    window.runSettingsDialog = [](SettingsDialog&) { return false; };
    window.StartUp();
    std::vector<std::string> selected;
    for (const GameSet& game : window.database())
      if (game.selected) selected.push_back(game.name);
    window.close();
    return selected;
  }

  testing::TempFolder data;
  ScriptedInterface ui;
  char zipLevel = '9';
};

TEST_F(SelectionAcrossRunsTest, SelectionSurvivesRestartsAndAFailedLoad) {
  testing::MakeDatabase({{"pacman", "", {"p.1"}}, {"puckman", "pacman", {"p.1", "p.2"}},
                         {"galaga", "", {"g.1"}, {"bang.wav"}}},
                        data / "small.dat");
  SettingsRecord settings;
  settings.dataSource = kSourceDatfile;
  settings.datfile = data / "small.dat";
  settings.tempFolder = settings.backupFolder = data.path();
  settings.zipLevel = 3;
  GameList rawGames, database;
  ASSERT_TRUE(AcquireGameData(settings, rawGames, database, &ui, data.path()));
  for (GameSet& game : database) game.selected = game.name != "puckman";
  ASSERT_TRUE(SaveProfile(settings, data / "_last.kpf", database));
  const std::vector<std::string> chosen = {"galaga", "pacman"};

  EXPECT_EQ(StartAndClose(), chosen);
  EXPECT_EQ(zipLevel, '3');  // the profile's level reaches the zip library
  EXPECT_EQ(StartAndClose(), chosen);  // saved on close, applied at the next start

  // The datfile is away for one start: no data, and the closing save keeps
  // the stored choice rather than writing none.
  ASSERT_EQ(std::rename((data / "small.dat").c_str(), (data / "away.dat").c_str()), 0);
  EXPECT_TRUE(StartAndClose().empty());
  ASSERT_EQ(std::rename((data / "away.dat").c_str(), (data / "small.dat").c_str()), 0);
  SettingsRecord stored;
  ASSERT_TRUE(LoadProfile(stored, data / "_last.kpf"));
  stored.datfile = data / "small.dat";  // the failed load emptied it; the user enters it again
  ASSERT_TRUE(SaveProfile(stored, data / "_last.kpf", GameList()));
  EXPECT_EQ(StartAndClose(), chosen);
}

}  // namespace
}  // namespace kestrel
