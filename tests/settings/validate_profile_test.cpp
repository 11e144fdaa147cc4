#include "settings/validate_profile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/scripted_interface.h"
#include "settings/check_folder.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;
using testing::WriteFile;

TEST(CheckFolderTest, KeepsTheRealSpellingWithATrailingSeparator) {
  TempFolder dir;
  std::filesystem::create_directories(dir / "My ROMs/Neo");
  WriteFile(dir / "a file", "");

  std::string path = dir / "my roms/NEO";
  EXPECT_TRUE(CheckFolder(path, false));
  EXPECT_EQ(path, dir / "My ROMs/Neo/");
  EXPECT_TRUE(std::filesystem::is_directory(path));

  path = dir / "My ROMs\\";  // a path from a Windows profile
  EXPECT_TRUE(CheckFolder(path, true));
  EXPECT_EQ(path, dir / "My ROMs/");

  // Missing folders, files and the empty text are no folders.
  for (std::string missing : {dir / "gone/", dir / "a file", std::string()}) {
    std::string kept = missing;
    EXPECT_FALSE(CheckFolder(kept, false)) << missing;
    EXPECT_EQ(kept, missing);
    EXPECT_FALSE(CheckFolder(kept, true)) << missing;
    EXPECT_EQ(kept, "");
  }
}

TEST(ValidateProfileTest, DisablesMissingPathsOnceWithAWarning) {
  TempFolder dir;
  std::filesystem::create_directories(dir / "Roms");
  std::filesystem::create_directories(dir / "Temp");
  SettingsRecord r;
  r.tempFolder = dir / "temp";
  r.backupFolder = dir / "no backup/";
  r.makeBackups = false;
  r.romPaths = {{dir / "roms/", true}, {dir / "gone1/", true}, {dir / "gone2/", false}};
  r.addPaths = {{dir / "gone3/", true}};
  r.miscPaths = {{dir / "ROMS", true}};

  ScriptedInterface ui;
  EXPECT_TRUE(ValidateProfile(r, &ui));
  EXPECT_EQ(r.tempFolder, dir / "Temp/");
  EXPECT_EQ(r.backupFolder, "");
  EXPECT_EQ(r.romPaths[0].path, dir / "Roms/");
  EXPECT_TRUE(r.romPaths[0].enabled);
  EXPECT_FALSE(r.romPaths[1].enabled);
  EXPECT_EQ(r.romPaths[1].path, dir / "gone1/");  // kept, so the user can see it
  EXPECT_FALSE(r.romPaths[2].enabled);
  EXPECT_FALSE(r.addPaths[0].enabled);
  EXPECT_TRUE(r.miscPaths[0].enabled);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Some Stored Paths Aren't Available !\n\nKestrel Disables These Paths.");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::kExclamation);

  // Nothing more to disable: no message.
  EXPECT_TRUE(ValidateProfile(r, &ui));
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(ValidateProfileTest, NeedsATemporaryFolderAndABackupFolderWhenBackingUp) {
  TempFolder dir;
  std::filesystem::create_directories(dir / "t");
  ScriptedInterface ui;
  SettingsRecord r;
  r.tempFolder = dir / "t/";
  r.makeBackups = true;
  r.backupFolder = dir / "missing/";
  EXPECT_FALSE(ValidateProfile(r, &ui));
  EXPECT_EQ(r.backupFolder, "");

  r.backupFolder = dir / "t/";
  EXPECT_TRUE(ValidateProfile(r, &ui));

  r.makeBackups = false;
  r.backupFolder.clear();
  EXPECT_TRUE(ValidateProfile(r, &ui));
  r.tempFolder.clear();
  EXPECT_FALSE(ValidateProfile(r, &ui));
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace kestrel
