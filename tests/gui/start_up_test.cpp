// What the program does at start and what loading a profile keeps,
// without the main window.
#include <gtest/gtest.h>

#include "gui/profile_loading.h"
#include "gui/start_choice.h"
#include "settings/profile_file.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

TEST(StartUp, TheFirstRunGreetsAndOnlyStartFromOnePicksAProfile) {
  UserValues values;
  EXPECT_EQ(ChooseStartAction(values), StartAction::kWelcome);
  values.startFrom = 1;
  EXPECT_EQ(ChooseStartAction(values), StartAction::kWelcome);
  values.veryFirstTime = 0;
  EXPECT_EQ(ChooseStartAction(values), StartAction::kPickProfile);
  values.startFrom = 0;
  EXPECT_EQ(ChooseStartAction(values), StartAction::kLoadLastProfile);
  values.startFrom = 7;  // a damaged store: shown as "Last Settings", so it loads them
  EXPECT_EQ(ChooseStartAction(values), StartAction::kLoadLastProfile);
}

TEST(StartUp, AProfileReplacesTheOptionsButNotTheStartChoiceNorTheDataInMemory) {
  testing::TempFolder folder;
  SettingsRecord saved;
  saved.zipLevel = 3;
  saved.mameExe = "/games/mame";
  ASSERT_TRUE(SaveProfile(saved, folder / "saved.kpf", {}));
  testing::WriteFile(folder / "broken.kpf", "KPFOPX");

  SettingsRecord settings;
  settings.startOption = 1;
  settings.zipLevel = 8;
  settings.dataCrc = 0x1234;
  settings.loadedDatfile = "/dats/arcade.dat";
  settings.dataFromDatfile = true;
  EXPECT_FALSE(LoadProfileOverSettings(settings, folder / "broken.kpf"));
  EXPECT_EQ(settings.zipLevel, 8);
  ASSERT_TRUE(LoadProfileOverSettings(settings, folder / "saved.kpf"));
  EXPECT_EQ(settings.zipLevel, 3);
  EXPECT_EQ(settings.mameExe, "/games/mame");
  EXPECT_EQ(settings.startOption, 1);
  EXPECT_EQ(settings.dataCrc, 0x1234u);
  EXPECT_EQ(settings.loadedDatfile, "/dats/arcade.dat");
  EXPECT_TRUE(settings.dataFromDatfile);
}

}  // namespace
}  // namespace kestrel
