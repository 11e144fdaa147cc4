#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "settings/validate_profile.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

// Backups without a backup folder make the profile unusable. A missing
// folder in any path list is disabled; one the user had disabled already
// stays so without a message.
TEST(MissingBackupFolderTest, RefusesBackupsWithoutAFolderAndChecksEveryPathList) {
  testing::TempFolder dir;
  SettingsRecord r;
  r.tempFolder = dir.path();
  r.makeBackups = true;
  r.backupFolder = dir / "gone/";
  r.romPaths = {{dir / "off/", false}};
  ScriptedInterface ui;
  EXPECT_FALSE(ValidateProfile(r, &ui));
  EXPECT_EQ(r.backupFolder + std::to_string(r.romPaths[0].enabled), "0");
  EXPECT_TRUE(ui.messages.empty());
  r.backupFolder = dir.path();
  for (PathList* list : {&r.samplePaths, &r.addPaths, &r.miscPaths}) {
    *list = {{dir / "gone/", true}};
    EXPECT_TRUE(ValidateProfile(r, &ui));
    EXPECT_FALSE(list->front().enabled);
    list->clear();
  }
  EXPECT_EQ(ui.messages.size(), 3u);
}

}  // namespace
}  // namespace kestrel
