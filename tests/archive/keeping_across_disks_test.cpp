#include <gtest/gtest.h>
#include <unistd.h>

#include "archive/backup_zip.h"
#include "archive/interrupted_write.h"
#include "archive/zip_fixtures.h"
#include "support/faulty_file_system.h"

namespace kestrel {
namespace {

using testing::Fault;
using testing::FileOperation;
using testing::ReadFile;
using testing::Texts;
using testing::WriteFile;

class KeepingAcrossDisksTest : public testing::ZipTest {
 protected:
  // Whether the move was made, then which of the original and two copies exist.
  std::string Move(std::vector<Fault> faults) {
    testing::FaultyFileSystem disk;
    for (const Fault& fault : faults) disk.Fail(fault);
    std::string seen = std::to_string(MoveIntoBackupFolder(disk, folder / "backup", folder / "roms/A.ZIP"));
    for (const char* name : {"roms/a.zip", "backup/a (2).zip", "backup/a (3).zip"})
      seen += PathExists(folder / name) ? "+" : "-";
    return seen;
  }
};

// Where a rename cannot move a file (another disk) it is copied; the
// original goes only once the copy reads back whole, and a copy that does
// not is removed again. A copy whose original cannot be removed is whole
// and stays.
TEST_F(KeepingAcrossDisksTest, MovesByCopyOnlyWhatArrivedWhole) {
  WriteFile(folder / "roms/a.zip", "set");
  WriteFile(folder / "backup/a.zip", "older");
  Fault noRename{FileOperation::kRename};
  EXPECT_EQ(Move({noRename, {FileOperation::kRead, "*backup/a (2).zip"}}), "0+--");
  EXPECT_EQ(Move({noRename, {FileOperation::kDelete, "*roms/a.zip"}}), "0++-");
  EXPECT_EQ(Move({noRename}), "1-++");
  // CRC-32 0, the sum a copy that cannot be read would seem to have.
  WriteFile(folder / "roms/a.zip", "\x9d\n\xd9m");
  EXPECT_EQ(Move({noRename, {FileOperation::kRead, "*backup/a (4).zip"}}).substr(0, 2), "0+");
}

// A second backup of a folder whose name has a dot numbers the file, not
// the folder.
TEST_F(KeepingAcrossDisksTest, NumbersTheFileBelowADottedFolder) {
  WriteFile(folder / "v1.0/readme", "r");
  ZipLibrary library;
  for (int i = 0; i < 2; ++i)
    ASSERT_TRUE(
        BackUpToZip(RealFileSystem(), library, folder / "backup", "set", {FolderBackup(folder / "v1.0", "v1.0")}));
  EXPECT_EQ(ReadBack(folder / "backup/set.zip"), (Texts{"v1.0/readme=r/8", "v1.0/readme (2)=r/8"}));
}

// Only files are leftovers: a folder named like one is not, and a link or
// a file gone since it was found is left where it is.
TEST_F(KeepingAcrossDisksTest, ClearsNoFolderLinkOrVanishedLeftover) {
  WriteFile(folder / "roms/a.zip.abc123/x", "x");
  WriteFile(folder / "elsewhere", "PK");
  ASSERT_EQ(::symlink((folder / "elsewhere").c_str(), (folder / "roms/b.zip.abc123").c_str()), 0);
  WriteFile(folder / "roms/c.zip.abc123", "PK");
  EXPECT_EQ(FindInterruptedWrites(RealFileSystem(), folder / "roms").size(), 2u);
  testing::FaultyFileSystem disk;
  disk.Vanish("*c.zip.abc123");
  std::vector<int> outcomes;
  for (const char* name : {"b", "c"}) {
    InterruptedWrite leftover{folder / "roms/" + name + ".zip.abc123", ""};
    outcomes.push_back(int(ClearInterruptedWrite(disk, folder / "backup", leftover).outcome));
  }
  EXPECT_EQ(outcomes, (std::vector<int>{int(LeftoverOutcome::kKept), int(LeftoverOutcome::kKept)}));
  EXPECT_FALSE(PathExists(folder / "backup"));
}

}  // namespace
}  // namespace kestrel
