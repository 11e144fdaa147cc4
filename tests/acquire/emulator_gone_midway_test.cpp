#include <sys/stat.h>

#include <gtest/gtest.h>

#include "acquire/acquire_game_data.h"
#include "app/scripted_interface.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

// A RAINE that can no longer be started midway leaves an unusable listing:
// the runs stop there, nothing is loaded or left behind, and the user has
// to name the emulator again.
TEST(EmulatorGoneMidwayTest, OneFailedGameRunRefusesTheWholeList) {
  testing::TempFolder data, emulators;
  std::string raine = emulators / "raine";
  testing::WriteFile(raine, testing::ReadFile(testing::SourceDir() + "tests/acquire/emulators/raine-vanishing"));
  ::chmod(raine.c_str(), 0755);
  SettingsRecord settings;
  settings.dataSource = DataSourceKind::kRaineExe;
  settings.raineExe = raine;
  LoadedData loaded;
  GameList rawGames, database(1);
  ListMessages messages;
  ScriptedInterface ui;
  EXPECT_FALSE(AcquireGameData(settings, loaded, rawGames, database, &ui, data.path(), messages));
  EXPECT_EQ(testing::ReadFile(emulators / "runs.log"), "-gamelist\n-gameinfo pacman\n-gameinfo broken\n");
  EXPECT_TRUE(database.empty() && rawGames.empty() && settings.raineExe.empty());
  EXPECT_TRUE(ListFolder(data.path()).empty());
}

}  // namespace
}  // namespace kestrel
