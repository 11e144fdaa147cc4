#include "archive/folder_tree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/file_system.h"
#include "support/faulty_file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;
using testing::WriteFile;
namespace fs = std::filesystem;

// A tree goes whole, read-only files too; a link inside it goes as a link,
// and what it points at stays. What cannot be removed is named, and does
// not keep the rest of the tree alive.
TEST(FolderTreeTest, DeletesATreeButNothingALinkLeadsTo) {
  TempFolder root;
  WriteFile(root / "tree/a.rom", "a");
  WriteFile(root / "tree/sub/deeper/b.rom", "b");
  ::chmod((root / "tree/sub/deeper/b.rom").c_str(), 0444);
  WriteFile(root / "outside/keep.rom", "keep");
  fs::create_directory_symlink(root / "outside", root / "tree/sub/link");
  fs::create_symlink(root / "outside/keep.rom", root / "tree/file-link");
  EXPECT_EQ(ListTreeFiles(RealFileSystem(), root / "tree"), (std::vector<std::string>{"a.rom", "sub/deeper/b.rom"}));

  testing::FaultyFileSystem locked;
  locked.Fail({testing::FileOperation::kDelete, "*/a.rom"});
  // The file and the folders that hold it.
  EXPECT_EQ(DeleteFolderTree(locked, root / "tree"), (std::vector<std::string>{root / "tree/a.rom", root / "tree"}));
  EXPECT_EQ(ListTreeFiles(RealFileSystem(), root / "tree"), (std::vector<std::string>{"a.rom"}));
  EXPECT_EQ(testing::ReadFile(root / "outside/keep.rom"), "keep");
  WriteFile(root / "tree/sub/deeper/b.rom", "b");
  ::chmod((root / "tree/sub/deeper/b.rom").c_str(), 0444);
  fs::create_directory_symlink(root / "outside", root / "tree/sub/link");

  EXPECT_TRUE(DeleteFolderTree(RealFileSystem(), root / "tree").empty());
  EXPECT_FALSE(fs::exists(root / "tree"));
  EXPECT_EQ(testing::ReadFile(root / "outside/keep.rom"), "keep");
  EXPECT_EQ(DeleteFolderTree(RealFileSystem(), root / "missing/"), (std::vector<std::string>{root / "missing/"}));
}

}  // namespace
}  // namespace kestrel
