#include "settings/validate_profile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/scripted_interface.h"
#include "settings/check_folder.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;

TEST(CheckFolderTest, KeepsTheRealSpellingWithATrailingSeparator) {
  TempFolder dir;
  std::filesystem::create_directories(dir / "My ROMs/Neo");
  testing::WriteFile(dir / "a file", "");

  std::string path = dir / "my roms\\NEO";  // as a Windows profile spells it
  EXPECT_TRUE(CheckFolder(path, false));
  EXPECT_EQ(path, dir / "My ROMs/Neo/");

  // Missing folders, files and the empty text are no folders.
  for (std::string missing : {dir / "gone/", dir / "a file", std::string()}) {
    std::string kept = missing;
    EXPECT_FALSE(CheckFolder(kept, false));
    EXPECT_EQ(kept, missing);
    EXPECT_FALSE(CheckFolder(kept, true));
    EXPECT_EQ(kept, "");
  }
}

TEST(ValidateProfileTest, DisablesMissingPathsAndNeedsTheWorkingFolders) {
  TempFolder dir;
  std::filesystem::create_directories(dir / "Roms");
  SettingsRecord r;
  r.tempFolder = dir / "roms";
  r.backupFolder = dir / "no backup/";
  r.makeBackups = false;
  r.romPaths = {{dir / "roms/", true}, {dir / "gone1/", true}, {dir / "gone2/", false}};
  r.addPaths = {{dir / "gone3/", true}};

  ScriptedInterface ui;
  EXPECT_TRUE(ValidateProfile(r, &ui));  // no backups: no backup folder needed
  EXPECT_EQ(r.tempFolder, dir / "Roms/");
  EXPECT_EQ(r.backupFolder, "");
  EXPECT_EQ(r.romPaths[0].path, dir / "Roms/");
  EXPECT_TRUE(r.romPaths[0].enabled);
  EXPECT_FALSE(r.romPaths[1].enabled);
  EXPECT_EQ(r.romPaths[1].path, dir / "gone1/");  // kept, so the user sees what is gone
  EXPECT_FALSE(r.addPaths[0].enabled);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Some Stored Paths Aren't Available !\n\nKestrel Disables These Paths.");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::kExclamation);

  r.makeBackups = true;
  EXPECT_FALSE(ValidateProfile(r, &ui));
  r.backupFolder = dir / "roms/";
  EXPECT_TRUE(ValidateProfile(r, &ui));
  r.tempFolder = dir / "gone1/";
  EXPECT_FALSE(ValidateProfile(r, &ui));
  EXPECT_EQ(r.tempFolder, "");
  EXPECT_EQ(ui.messages.size(), 1u);  // nothing newly disabled, no message
}

}  // namespace
}  // namespace kestrel
