#include "settings/validate_profile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/scripted_interface.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

// Folders take the disk's spelling with a trailing '/', however a profile
// spelled them. Missing path list entries are disabled but kept, so the user
// sees what is gone; missing working folders are cleared. Without backups
// no backup folder is needed; nothing newly disabled, no message.
TEST(ValidateProfileTest, DisablesMissingPathsAndNeedsTheWorkingFolders) {
  testing::TempFolder dir;
  std::filesystem::create_directories(dir / "My ROMs/Neo");
  testing::WriteFile(dir / "a file", "");
  SettingsRecord r;
  r.tempFolder = dir / "my roms\\NEO";  // as a Windows profile spells it
  r.backupFolder = dir / "a file";
  r.makeBackups = false;
  r.romPaths = {{dir / "my roms", true}, {dir / "gone1/", true}, {dir / "a file", true}};
  ScriptedInterface ui;
  EXPECT_TRUE(ValidateProfile(r, &ui));
  std::string paths;
  for (const PathEntry& entry : r.romPaths) paths += entry.path + (entry.enabled ? "+" : "-") + "|";
  EXPECT_EQ(r.tempFolder + "|" + r.backupFolder + "|" + paths,
            dir / "My ROMs/Neo/||" + dir / "My ROMs/+|" + dir / "gone1/-|" + dir / "a file-|");
  EXPECT_EQ(ui.MessageTexts(),
            std::vector<std::string>{"Some Stored Paths Aren't Available !\n\nKestrel Disables These Paths."});
  r.tempFolder = dir / "gone1/";
  EXPECT_FALSE(ValidateProfile(r, &ui));
  EXPECT_EQ(r.tempFolder, "");
  EXPECT_EQ(ui.messages.size(), 1u);
}

}  // namespace
}  // namespace kestrel
