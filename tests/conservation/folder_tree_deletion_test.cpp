// A folder tree is deleted as far as it can be: a part that stays does not
// keep the rest alive, and the answer names what stayed.
#include "archive/folder_tree.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "conservation/failing_disk.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::WriteFile;

TEST(FolderTreeTest, DeletesEverythingItCanAndSaysWhenSomethingStayed) {
  TempFolder dir;
  const std::string tree = dir / "tree";
  WriteFile(tree + "/a/locked/x", "stays");
  WriteFile(tree + "/b.txt", "goes");
  WriteFile(tree + "/c/d/e", "goes");
  fs::permissions(tree + "/b.txt", fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_EQ(ListTreeFiles(tree), (std::vector<std::string>{"a/locked/x", "b.txt", "c/d/e"}));

  testing::ArmFailingDisk(testing::DiskFault::kOneChange, 1);  // the first removal, a/locked/x
  std::vector<std::string> stayed = DeleteFolderTree(tree);
  testing::DisarmFailingDisk();
  EXPECT_FALSE(stayed.empty());
  EXPECT_EQ(ListTreeFiles(tree), (std::vector<std::string>{"a/locked/x"}));
  EXPECT_FALSE(fs::exists(tree + "/c"));

  EXPECT_TRUE(DeleteFolderTree(tree).empty());
  EXPECT_FALSE(fs::exists(tree));
}

}  // namespace
}  // namespace kestrel
