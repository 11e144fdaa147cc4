#include "settings/tool_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;

std::string Describe(const FolderCheck& check) {
  static const char* const kWords[] = {"ok", "no temp", "no backup", "no rom paths", "can't access", "overlap"};
  return std::string(kWords[static_cast<int>(check.fault)]) + (check.path.empty() ? "" : " " + check.path);
}

TEST(ToolFoldersTest, TheScannerNeedsItsWorkingFolders) {
  SettingsRecord settings;
  settings.makeBackups = true;
  EXPECT_EQ(Describe(CheckScannerFolders(settings)), "no temp");
  settings.tempFolder = "/tmp/";
  EXPECT_EQ(Describe(CheckScannerFolders(settings)), "no backup");
  settings.makeBackups = false;
  EXPECT_EQ(Describe(CheckScannerFolders(settings)), "ok");
  EXPECT_EQ(WorkingFolderText(FolderFault::kNoBackupFolder), "No Valid Backupfolder");
}

// One folder under two spellings, or through a link, is one folder; a
// destination inside the source matters only when the source is read with
// its subfolders.
TEST(ToolFoldersTest, TheRebuilderNeedsTwoFoldersApart) {
  TempFolder root;
  std::filesystem::create_directories(root / "Source/inner");
  std::filesystem::create_directory_symlink(root / "Source", root / "link");
  SettingsRecord settings;
  settings.rebuildSource = root / "source";
  settings.rebuildDestination = root / "missing";
  EXPECT_EQ(Describe(CheckRebuilderFolders(settings)), "can't access " + root / "missing");
  settings.rebuildDestination = root / "link/";
  EXPECT_EQ(Describe(CheckRebuilderFolders(settings)), "overlap " + root / "link/");
  settings.rebuildDestination = root / "SOURCE/inner";
  settings.rebuildRecursive = true;
  EXPECT_EQ(Describe(CheckRebuilderFolders(settings)), "overlap " + root / "SOURCE/inner");
  settings.rebuildRecursive = false;
  EXPECT_EQ(Describe(CheckRebuilderFolders(settings)), "ok");
  settings.rebuildSource = "";
  EXPECT_EQ(Describe(CheckRebuilderFolders(settings)), "can't access");
}

TEST(ToolFoldersTest, TheMergerNeedsARomPathAndItsDestination) {
  TempFolder root;
  SettingsRecord settings;
  settings.mergePlacement = MergePlacement::kIntoDestination;
  settings.mergeDestination = root / "missing/";
  settings.romPaths = {PathEntry{root.path(), false}};  // a disabled path is none
  EXPECT_EQ(Describe(CheckMergerFolders(settings)), "no rom paths");
  settings.romPaths[0].enabled = true;
  EXPECT_EQ(Describe(CheckMergerFolders(settings)), "can't access " + root / "missing/");
  settings.mergePlacement = MergePlacement::kKeepPosition;
  EXPECT_EQ(Describe(CheckMergerFolders(settings)), "ok");
}

}  // namespace
}  // namespace kestrel
