#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "platform/paths.h"
#include "support/faulty_file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;
using Texts = std::vector<std::string>;

// The exact spelling in the folder found first; without one the first
// spelling byte-wise wins, every time. Writing through another spelling
// replaces the existing file; a pipe would block the reader for ever.
// Listings sort byte-wise and match patterns without case; "*.*" takes
// names without a dot too.
TEST(FileSystemTest, FindsNamesWithoutCasePreferringExactMatch) {
  TempFolder dir;
  WriteFile(dir / "Games/pacman.zip", "lower");
  WriteFile(dir / "Games/PACMAN.ZIP", "upper");
  WriteFile(dir / "Games/Galaga.zip", "g");
  Texts found;
  for (const char* path : {"GAMES/pacman.zip", "games/PacMan.zip", "games/", "Games/missing.zip"})
    found.push_back(FindPath(dir / path).value_or(dir / "none").substr(dir.path().size()));
  EXPECT_EQ(found, (Texts{"Games/pacman.zip", "Games/PACMAN.ZIP", "Games/", "none"}));

  std::FILE* file = OpenFile(dir / "Games/GALAGA.zip", "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("new", file);
  std::fclose(file);
  EXPECT_EQ(ReadFile(dir / "Games/Galaga.zip"), "new");
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
  EXPECT_EQ(OpenFile(dir / "pipe", "rb"), nullptr);
  EXPECT_EQ(RealFileSystem().OpenForReading(dir / "pipe"), nullptr);  // as spelled, too

  WriteFile(dir / "Games/sub/x", "");
  ::chmod((dir / "Games/Galaga.zip").c_str(), 0444);
  Texts names;
  for (const char* pattern : {"*.*", "pac*", "*.zip"}) {
    for (const FolderEntry& entry : ListFolder(dir / "Games/", pattern))
      names.push_back(entry.name + (entry.readOnly ? " ro" : ""));
  }
  EXPECT_EQ(names, (Texts{"Galaga.zip ro", "PACMAN.ZIP", "pacman.zip", "sub", "PACMAN.ZIP", "pacman.zip",
                          "Galaga.zip ro", "PACMAN.ZIP", "pacman.zip"}));
}

// Every operation finds its file in any spelling, and none replaces a file
// that differs only in case.
TEST(FileSystemTest, RenamesCopiesAndDeletesThroughAnySpelling) {
  TempFolder dir;
  WriteFile(dir / "a.rom", "a");
  WriteFile(dir / "b.rom", "b");
  EXPECT_FALSE(RenamePath(dir / "a.rom", dir / "B.ROM")) << "target exists without case";
  EXPECT_TRUE(RenamePath(dir / "A.ROM", dir / "A.rom")) << "a case change of the same file";
  EXPECT_EQ(ListFolder(dir.path())[0].name, "A.rom");
  EXPECT_TRUE(CopyFile(dir / "B.rom", dir / "dst.bin", true));
  EXPECT_FALSE(CopyFile(dir / "a.rom", dir / "DST.BIN", true));
  EXPECT_EQ(ReadFile(dir / "dst.bin"), "b");
  ASSERT_EQ(::chmod((dir / "dst.bin").c_str(), 0444), 0);
  EXPECT_TRUE(ClearReadOnly(dir / "DST.bin"));
  EXPECT_FALSE(IsReadOnly(dir / "dst.bin"));
  EXPECT_TRUE(DeleteFile(dir / "Dst.Bin"));
  EXPECT_FALSE(FileExists(dir / "dst.bin"));
}

// A copy is one of the file system's own operations: a read error, a full
// disk or a failed commit leaves the old target and no temporary file.
// Reads and writes fail part-way, after the first piece went through.
TEST(FileSystemTest, ACopyFailingAtAnyStepLeavesTheTargetAsItWas) {
  TempFolder dir;
  const std::string contents((size_t{4} << 20) + 200000, 's');  // more than one block of the copy
  WriteFile(dir / "src.rom", contents);
  WriteFile(dir / "dst.rom", "old");
  using testing::FileOperation;
  for (const testing::Fault& fault : std::vector<testing::Fault>{{FileOperation::kRead, "*", 2},
                                                                 {FileOperation::kWrite, "*", 2},
                                                                 {FileOperation::kCreate},
                                                                 {FileOperation::kReplace}}) {
    SCOPED_TRACE(int(fault.operation));
    testing::FaultyFileSystem disk;
    disk.Fail(fault);
    EXPECT_FALSE(disk.CopyFile(dir / "src.rom", dir / "dst.rom", false));
    EXPECT_EQ(disk.FailuresSeen(), 1);
    EXPECT_EQ(ReadFile(dir / "dst.rom"), "old");
    EXPECT_EQ(ListFolder(dir.path()).size(), 2u);
  }
  testing::FaultyFileSystem disk;
  EXPECT_TRUE(disk.CopyFile(dir / "src.rom", dir / "dst.rom", false));
  EXPECT_TRUE(ReadFile(dir / "dst.rom") == contents);
}

// A zip is named by its suffix in any case, with a name before it; only
// such a suffix is cut off, in the case it has.
TEST(PathsTest, SplitsAtEverySeparatorAndTellsZipNamesByTheirSuffix) {
  EXPECT_EQ(FileNamePart("roms\\pacman\\pm1.rom") + FileNamePart("c:pm1.rom"), "pm1.rompm1.rom");
  EXPECT_EQ(FolderPart("roms\\pacman/pm1.rom"), "roms\\pacman/");
  EXPECT_EQ(AbsolutePath("/a/b/../c/"), "/a/c/");
  EXPECT_TRUE(MatchesWildcard("PacMan.ZIP", "pac*.zip") && MatchesWildcard("*x.zip", "*.zip"));
  EXPECT_FALSE(MatchesWildcard("pacman.zip", "pac?"));
  for (const char* zip : {"set.zip", "SET.ZIP", "/roms/b.Zip", "c:x.zip"}) EXPECT_TRUE(HasZipExtension(zip)) << zip;
  for (const char* other : {".zip", "/roms/.zip", "zip", "set.zip/", "set.zip.tmp1", "a.zip/b", ""})
    EXPECT_FALSE(HasZipExtension(other)) << other;
  EXPECT_EQ(WithoutZipExtension("/roms/Pacman.ZIP"), "/roms/Pacman");
  for (const char* kept : {".zip", "set.7z", "set.zip/", "zip"}) EXPECT_EQ(WithoutZipExtension(kept), kept);
}

}  // namespace
}  // namespace kestrel
