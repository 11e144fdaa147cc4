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
using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

// A tree goes whole, read-only files too; a link inside it, or a tree that
// is a link, goes as a link, and what it points at stays. What cannot be
// removed is named, and does not keep the rest of the tree alive.
TEST(FolderTreeTest, DeletesATreeButNothingALinkLeadsTo) {
  TempFolder root;
  WriteFile(root / "tree/a.rom", "a");
  WriteFile(root / "outside/keep.rom", "keep");
  fs::create_symlink(root / "outside/keep.rom", root / "tree/file-link");
  testing::FaultyFileSystem locked;
  locked.Fail({testing::FileOperation::kDelete, "*/a.rom"});
  for (FileSystem* disk : {static_cast<FileSystem*>(&locked), &RealFileSystem()}) {
    WriteFile(root / "tree/sub/deeper/b.rom", "b");
    ::chmod((root / "tree/sub/deeper/b.rom").c_str(), 0444);
    fs::create_directory_symlink(root / "outside", root / "tree/sub/link");
    EXPECT_EQ(ListTreeFiles(RealFileSystem(), root / "tree"), (Texts{"a.rom", "sub/deeper/b.rom"}));
    // The file and the folders that hold it.
    EXPECT_EQ(DeleteFolderTree(*disk, root / "tree"),
              (disk == &locked ? Texts{root / "tree/a.rom", root / "tree"} : Texts{}));
    EXPECT_EQ(ListTreeFiles(RealFileSystem(), root / "tree"), (disk == &locked ? Texts{"a.rom"} : Texts{}));
    EXPECT_EQ(testing::ReadFile(root / "outside/keep.rom"), "keep");
  }
  EXPECT_FALSE(fs::exists(root / "tree"));
  fs::create_directory_symlink(root / "outside", root / "linked");
  EXPECT_EQ(DeleteFolderTree(RealFileSystem(), root / "linked"), Texts{});
  EXPECT_FALSE(fs::exists(fs::symlink_status(root / "linked")));
  EXPECT_EQ(testing::ReadFile(root / "outside/keep.rom"), "keep");
  EXPECT_EQ(DeleteFolderTree(RealFileSystem(), root / "missing/"), Texts{root / "missing/"});
}

}  // namespace
}  // namespace kestrel
