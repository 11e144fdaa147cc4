#include "platform/dry_run_file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "platform/file_replacement.h"
#include "platform/folder_index.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using Tree = std::map<std::string, std::string>;  // relative path -> bytes, "/" for a folder

// Every entry below `root` as `fs` shows it.
Tree TreeOf(FileSystem& fs, const std::string& root, const std::string& below = "") {
  Tree tree;
  for (const FolderEntry& entry : fs.ListFolder(root + below)) {
    const std::string path = below + entry.name;
    if (entry.isFolder) {
      tree[path] = "/";
      tree.merge(TreeOf(fs, root, path + "/"));
      continue;
    }
    std::unique_ptr<ReadableFile> file = fs.OpenForReading(root + path);
    std::string bytes(file ? file->Size() : 0, '\0');
    if (file) file->ReadAt(0, bytes.data(), bytes.size());
    tree[path] = bytes;
  }
  return tree;
}

std::vector<std::string> Lines(const std::vector<FileChange>& changes) {
  std::vector<std::string> lines;
  for (const FileChange& change : changes) lines.push_back(DescribeChange(change));
  return lines;
}

// The overlay shows the disk as the changes left it, names found without
// case, the exact one first; the disk itself keeps every byte; the list
// holds what is left of each change, in order.
TEST(DryRunFileSystemTest, ShowsTheChangesAndLeavesTheDiskAlone) {
  testing::TempFolder root;
  testing::WriteFile(root / "roms/pacman.zip", "old pacman");
  testing::WriteFile(root / "roms/Galaga/g.1", "g1");
  testing::WriteFile(root / "roms/Galaga/g.2", "g2");
  testing::WriteFile(root / "roms/readme.txt", "text");
  testing::WriteFile(root / "roms/Case.bin", "upper");
  testing::WriteFile(root / "roms/case.bin", "lower");
  const Tree onDisk = TreeOf(RealFileSystem(), root.path());
  const std::string roms = root / "roms/";
  testing::TempFolder scratch;

  std::vector<FileChange> changes;
  {
    DryRunFileSystem dry(scratch.path());
    ASSERT_TRUE(ReplaceFile(dry, roms + "PACMAN.ZIP", "new pacman"));
    ASSERT_TRUE(dry.RenamePath(roms + "galaga", roms + "galaxian"));
    ASSERT_TRUE(dry.RenamePath(roms + "galaxian/G.2", roms + "galaxian/g.3"));
    ASSERT_TRUE(dry.DeleteFile(roms + "README.TXT"));
    ASSERT_TRUE(dry.CreateFolder(roms + "new/"));
    ASSERT_TRUE(ReplaceFile(dry, roms + "new/n.1", "n1"));
    ASSERT_TRUE(dry.CopyFile(roms + "new/n.1", roms + "new/n.2", true));
    ASSERT_TRUE(dry.DeleteFile(roms + "new/n.2"));
    ASSERT_TRUE(dry.RenamePath(roms + "new", roms + "newer"));
    const std::string work = dry.CreateUniqueFolder(root.path());
    ASSERT_TRUE(ReplaceFile(dry, work + "w", "w"));
    ASSERT_TRUE(dry.DeleteFile(work + "w") && dry.RemoveFolder(work));

    EXPECT_EQ(TreeOf(dry, root.path()), (Tree{{"roms", "/"},
                                              {"roms/Case.bin", "upper"},
                                              {"roms/case.bin", "lower"},
                                              {"roms/galaxian", "/"},
                                              {"roms/galaxian/g.1", "g1"},
                                              {"roms/galaxian/g.3", "g2"},
                                              {"roms/newer", "/"},
                                              {"roms/newer/n.1", "n1"},
                                              {"roms/pacman.zip", "new pacman"}}));
    EXPECT_EQ(dry.FindPath(roms + "GALAXIAN/G.1"), roms + "galaxian/g.1");
    EXPECT_EQ(dry.FindPath(roms + "CASE.BIN"), roms + "Case.bin");
    EXPECT_EQ(dry.FindPath(roms + "case.bin"), roms + "case.bin");
    EXPECT_FALSE(dry.FindPath(roms + "galaga/g.1") || dry.FileExists(roms + "readme.txt"));
    EXPECT_EQ(dry.ResolvePath(roms + "GALAXIAN/x.zip"), roms + "galaxian/x.zip");
    EXPECT_EQ(dry.FileSize(roms + "pacman.zip"), 10u);
    EXPECT_TRUE(dry.FolderExists(roms + "Newer") && !dry.FileExists(roms + "newer"));

    // What the disk's own operations refuse, the overlay refuses too.
    errno = 0;
    EXPECT_FALSE(dry.CreateNewFile(roms + "pacman.zip"));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_FALSE(dry.RemoveFolder(roms + "galaxian"));
    EXPECT_FALSE(dry.RenamePath(roms + "case.bin", roms + "galaxian"));
    EXPECT_FALSE(dry.DeleteFile(roms + "readme.txt") || dry.CreateFolder(roms + "newer"));
    EXPECT_FALSE(dry.CreateNewFile(roms + "missing/x"));
    changes = dry.Changes();
  }
  EXPECT_EQ(TreeOf(RealFileSystem(), root.path()), onDisk);
  EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
  const std::vector<std::string> expected = {"replace " + roms + "pacman.zip",
                                       "rename " + roms + "galaga -> " + roms + "galaxian",
                                       "rename " + roms + "galaxian/G.2 -> " + roms + "galaxian/g.3",
                                       "delete " + roms + "README.TXT",
                                       "create folder " + roms + "new/",
                                       "create " + roms + "new/n.1",
                                       "rename " + roms + "new -> " + roms + "newer"};
  EXPECT_EQ(Lines(changes), expected);
}

// A folder index trusts the listing of a folder quiet on disk until the
// folder changes: through the overlay only the overlay can say it did.
TEST(DryRunFileSystemTest, AFolderIndexSeesWhatTheRunChanged) {
  testing::TempFolder root;
  testing::WriteFile(root / "a.zip", "a");
  timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, root.path().c_str(), old, 0), 0);
  testing::TempFolder scratch;
  DryRunFileSystem dry(scratch.path());
  FolderIndex index(dry);
  ASSERT_TRUE(index.Find(root.path(), "A.ZIP"));
  ASSERT_TRUE(ReplaceFile(dry, root / "b.zip", "b") && dry.RenamePath(root / "a.zip", root / "c.zip"));
  EXPECT_TRUE(index.Find(root.path(), "B.ZIP") && index.Find(root.path(), "c.zip"));
  EXPECT_FALSE(index.Find(root.path(), "a.zip"));
  ASSERT_TRUE(dry.CreateFolder(root / "d") && ReplaceFile(dry, root / "d/e", "e"));
  EXPECT_TRUE(index.Find(root / "d", "E"));
}

}  // namespace
}  // namespace kestrel
