#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "platform/paths.h"
#include "support/faulty_file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;
using testing::WriteFile;

TEST(FileSystemTest, FindsNamesWithoutCasePreferringExactMatch) {
  TempFolder dir;
  WriteFile(dir / "Games/pacman.zip", "lower");
  WriteFile(dir / "Games/PACMAN.ZIP", "upper");
  WriteFile(dir / "Games/Galaga.zip", "g");

  EXPECT_EQ(FindPath(dir / "GAMES/pacman.zip"), dir / "Games/pacman.zip");  // exact in the folder found
  // No exact match: the first spelling byte-wise wins, every time.
  EXPECT_EQ(FindPath(dir / "games/PacMan.zip"), dir / "Games/PACMAN.ZIP");
  EXPECT_EQ(FindPath(dir / "games/"), dir / "Games/");
  EXPECT_FALSE(FindPath(dir / "Games/missing.zip"));

  // Writing through another spelling replaces the existing file.
  std::FILE* file = OpenFile(dir / "Games/GALAGA.zip", "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("new", file);
  std::fclose(file);
  EXPECT_EQ(testing::ReadFile(dir / "Games/Galaga.zip"), "new");
  // A pipe would block the reader for ever.
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
  EXPECT_EQ(OpenFile(dir / "pipe", "rb"), nullptr);

  // Listings sort byte-wise and match patterns without case; "*.*" takes
  // names without a dot too.
  WriteFile(dir / "Games/sub/x", "");
  std::vector<std::string> names;
  for (const char* pattern : {"*.*", "pac*"})
    for (const FolderEntry& entry : ListFolder(dir / "Games/", pattern)) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Galaga.zip", "PACMAN.ZIP", "pacman.zip", "sub", "PACMAN.ZIP",
                                             "pacman.zip"}));
  ::chmod((dir / "Games/Galaga.zip").c_str(), 0444);
  std::vector<FolderEntry> listed = ListFolder(dir / "Games/", "*.zip");
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_TRUE(listed[0].readOnly && !listed[1].readOnly);
}

// Every operation finds its file in any spelling, and none replaces a file
// that differs only in case.
TEST(FileSystemTest, RenamesCopiesAndDeletesThroughAnySpelling) {
  TempFolder dir;
  WriteFile(dir / "a.rom", "a");
  WriteFile(dir / "b.rom", "b");

  EXPECT_FALSE(RenamePath(dir / "a.rom", dir / "B.ROM")) << "target exists without case";
  EXPECT_TRUE(RenamePath(dir / "A.ROM", dir / "A.rom")) << "a case change of the same file";
  EXPECT_FALSE(std::filesystem::exists(dir / "a.rom"));

  EXPECT_TRUE(CopyFile(dir / "B.rom", dir / "dst.bin", true));
  EXPECT_FALSE(CopyFile(dir / "a.rom", dir / "DST.BIN", true));
  EXPECT_EQ(testing::ReadFile(dir / "dst.bin"), "b");

  ASSERT_EQ(::chmod((dir / "dst.bin").c_str(), 0444), 0);
  EXPECT_TRUE(ClearReadOnly(dir / "DST.bin"));
  EXPECT_FALSE(IsReadOnly(dir / "dst.bin"));
  EXPECT_TRUE(DeleteFile(dir / "Dst.Bin"));
  EXPECT_FALSE(FileExists(dir / "dst.bin"));
}

// A copy is one of the file system's own operations: a read error, a full
// disk or a failed commit leaves the old target and no temporary file.
TEST(FileSystemTest, ACopyFailingAtAnyStepLeavesTheTargetAsItWas) {
  TempFolder dir;
  WriteFile(dir / "src.rom", std::string(200000, 's'));
  WriteFile(dir / "dst.rom", "old");
  using testing::FileOperation;
  // Reads and writes fail part-way, after the first piece went through.
  const std::vector<testing::Fault> faults = {{FileOperation::kRead, "*", 2},
                                              {FileOperation::kWrite, "*", 2},
                                              {FileOperation::kCreate},
                                              {FileOperation::kReplace}};
  for (const testing::Fault& fault : faults) {
    SCOPED_TRACE(int(fault.operation));
    testing::FaultyFileSystem disk;
    disk.Fail(fault);
    EXPECT_FALSE(disk.CopyFile(dir / "src.rom", dir / "dst.rom", false));
    EXPECT_EQ(disk.FailuresSeen(), 1);
    EXPECT_EQ(testing::ReadFile(dir / "dst.rom"), "old");
    EXPECT_EQ(ListFolder(dir.path()).size(), 2u);
  }
  testing::FaultyFileSystem disk;
  EXPECT_TRUE(disk.CopyFile(dir / "src.rom", dir / "dst.rom", false));
  EXPECT_TRUE(testing::ReadFile(dir / "dst.rom") == std::string(200000, 's'));
}

TEST(PathsTest, SplitsAtEverySeparator) {
  EXPECT_EQ(FileNamePart("roms\\pacman\\pm1.rom"), "pm1.rom");
  EXPECT_EQ(FileNamePart("c:pm1.rom"), "pm1.rom");
  EXPECT_EQ(FolderPart("roms\\pacman/pm1.rom"), "roms\\pacman/");
  EXPECT_EQ(AbsolutePath("/a/b/../c/"), "/a/c/");
  EXPECT_TRUE(MatchesWildcard("PacMan.ZIP", "pac*.zip"));
  EXPECT_FALSE(MatchesWildcard("pacman.zip", "pac?"));
  EXPECT_TRUE(MatchesWildcard("*x.zip", "*.zip"));
}

// A zip is named by its suffix in any case, with a name before it.
TEST(PathsTest, TellsZipNamesByTheirSuffix) {
  for (const char* zip : {"set.zip", "SET.ZIP", "/roms/b.Zip", "c:x.zip"}) EXPECT_TRUE(HasZipExtension(zip)) << zip;
  for (const char* other : {".zip", "/roms/.zip", "zip", "set.zip/", "set.zip.tmp1", "a.zip/b", ""})
    EXPECT_FALSE(HasZipExtension(other)) << other;
  // Only such a suffix is cut off, in the case it has.
  EXPECT_EQ(WithoutZipExtension("/roms/Pacman.ZIP"), "/roms/Pacman");
  for (const char* kept : {".zip", "set.7z", "set.zip/", "zip"}) EXPECT_EQ(WithoutZipExtension(kept), kept);
}

}  // namespace
}  // namespace kestrel
