#include "settings/validate_profile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/scripted_interface.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;

// Folders take the disk's spelling with a trailing '/', however a profile
// spelled them. Missing path list entries are disabled but kept, so the user
// sees what is gone; missing working folders are cleared.
TEST(ValidateProfileTest, DisablesMissingPathsAndNeedsTheWorkingFolders) {
  TempFolder dir;
  std::filesystem::create_directories(dir / "My ROMs/Neo");
  testing::WriteFile(dir / "a file", "");
  SettingsRecord r;
  r.tempFolder = dir / "my roms\\NEO";  // as a Windows profile spells it
  r.backupFolder = dir / "a file";
  r.makeBackups = false;
  r.romPaths = {{dir / "my roms", true}, {dir / "gone1/", true}, {dir / "a file", true}};

  ScriptedInterface ui;
  EXPECT_TRUE(ValidateProfile(r, &ui));  // no backups: no backup folder needed
  EXPECT_EQ(r.tempFolder, dir / "My ROMs/Neo/");
  EXPECT_EQ(r.backupFolder, "");
  EXPECT_EQ(r.romPaths[0].path + (r.romPaths[0].enabled ? "+" : "-"), dir / "My ROMs/+");
  EXPECT_FALSE(r.romPaths[1].enabled || r.romPaths[2].enabled);
  EXPECT_EQ(r.romPaths[1].path + "|" + r.romPaths[2].path, dir / "gone1/|" + dir / "a file");
  EXPECT_EQ(ui.MessageTexts(),
            std::vector<std::string>{"Some Stored Paths Aren't Available !\n\nKestrel Disables These Paths."});

  r.tempFolder = dir / "gone1/";
  EXPECT_FALSE(ValidateProfile(r, &ui));
  EXPECT_EQ(r.tempFolder, "");
  EXPECT_EQ(ui.messages.size(), 1u);  // nothing newly disabled, no message
}

}  // namespace
}  // namespace kestrel
