#include "settings/tool_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace kestrel {
namespace {

std::string Describe(const FolderCheck& check) {
  static const char* const kWords[] = {"ok", "no temp", "no backup", "no rom paths", "can't access", "overlap"};
  return std::string(kWords[static_cast<int>(check.fault)]) + (check.path.empty() ? "" : " " + check.path);
}

// Each tool's check, after each change of its settings. For the rebuilder,
// one folder under two spellings, or through a link, is one folder, and a
// destination inside the source matters only when the source is read with
// its subfolders. For the merger a disabled path is none.
TEST(ToolFoldersTest, EachToolNeedsItsFoldersThereAndApart) {
  testing::TempFolder root;
  std::filesystem::create_directories(root / "Source/inner");
  std::filesystem::create_directory_symlink(root / "Source", root / "link");
  SettingsRecord s;
  std::vector<std::string> seen;
  auto check = [&](FolderCheck (*tool)(const SettingsRecord&)) { seen.push_back(Describe(tool(s))); };
  s.makeBackups = true;
  check(CheckScannerFolders);
  s.tempFolder = "/tmp/";
  check(CheckScannerFolders);
  s.makeBackups = false;
  check(CheckScannerFolders);
  s.rebuildSource = root / "source";
  s.rebuildDestination = root / "missing";
  check(CheckRebuilderFolders);
  s.rebuildDestination = root / "link/";
  check(CheckRebuilderFolders);
  s.rebuildDestination = root / "SOURCE/inner";
  s.rebuildRecursive = true;
  check(CheckRebuilderFolders);
  s.rebuildRecursive = false;
  check(CheckRebuilderFolders);
  s.rebuildSource = "";
  check(CheckRebuilderFolders);
  s.mergePlacement = MergePlacement::kIntoDestination;
  s.mergeDestination = root / "missing/";
  s.romPaths = {PathEntry{root.path(), false}};
  check(CheckMergerFolders);
  s.romPaths[0].enabled = true;
  check(CheckMergerFolders);
  s.mergePlacement = MergePlacement::kKeepPosition;
  check(CheckMergerFolders);
  EXPECT_EQ(seen,
            (std::vector<std::string>{"no temp", "no backup", "ok", "can't access " + root / "missing",
                                      "overlap " + root / "link/", "overlap " + root / "SOURCE/inner", "ok",
                                      "can't access", "no rom paths", "can't access " + root / "missing/", "ok"}));
  EXPECT_EQ(WorkingFolderText(FolderFault::kNoBackupFolder), "No Valid Backupfolder");
}

}  // namespace
}  // namespace kestrel
