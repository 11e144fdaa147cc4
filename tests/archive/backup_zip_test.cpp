#include "archive/backup_zip.h"

#include <gtest/gtest.h>

#include "archive/zip_fixtures.h"
#include "support/faulty_file_system.h"

namespace kestrel {
namespace {

using testing::Fault;
using testing::FileOperation;
using testing::ReadFile;
using testing::Texts;
using testing::WriteFile;

class BackupZipTest : public testing::ZipTest {
 protected:
  std::string Backups() const { return folder / "backup"; }
  bool BackUp(const std::string& set, const std::vector<BackupItem>& items) {
    return BackUpToZip(RealFileSystem(), library, Backups(), set, items);
  }
  ZipEntryList List(const std::string& zip) {
    ZipEntryList list;
    EXPECT_TRUE(ReadZipDirectory(RealFileSystem(), folder / zip, list, true, nullptr));
    return list;
  }

  ZipLibrary library;
};

// Two members of one name in the source zip: the entry, not the name,
// says which one is kept. A second backup of the same names numbers them
// rather than replacing the first; a leading dot is no extension. The
// sources stay; removing them is the caller's business. Below a dotted
// folder the file is numbered, not the folder.
TEST_F(BackupZipTest, StoresFilesFoldersAndMembersByEntryWithoutReplacingEarlierBackups) {
  WriteFile(folder / "set/loose.rom", "loose");
  WriteFile(folder / "set/.DS_Store", "finder");
  WriteFile(folder / "set/v1.0/one", "one");
  WriteFile(folder / "set/v1.0/deep/two.bin", "two");
  WriteFile(folder / "twins.zip", testing::BuildZip({{"a.rom", "first"}, testing::Deflated("a.rom", "second")}));
  ZipEntryList twins = List("twins.zip");
  std::vector<BackupItem> items = {FileBackup(folder / "set/loose.rom", "loose.rom"),
                                   FolderBackup(folder / "set/v1.0", "v1.0"), MemberBackup(twins[1], "a.rom"),
                                   FileBackup(folder / "set/.DS_Store", ".DS_Store")};
  ASSERT_TRUE(BackUp("set", items));
  ASSERT_TRUE(BackUp("set", {MemberBackup(twins[0], "a.rom"), items[0], items[3], items[1]}));
  EXPECT_EQ(ReadBack(Backups() + "/set.zip"),
            (Texts{"loose.rom=loose/8", "v1.0/deep/two.bin=two/8", "v1.0/one=one/8", ".DS_Store=finder/8",
                   "a.rom=second/8", "loose (2).rom=loose/8", ".DS_Store (2)=finder/8",
                   "v1.0/deep/two (2).bin=two/8", "v1.0/one (2)=one/8", "a (2).rom=first/0"}));
  EXPECT_EQ(ReadFile(folder / "set/loose.rom"), "loose");
  EXPECT_EQ(ReadBack(folder / "twins.zip").size(), 2u);
}

// Nothing is stored where it could not be checked, and a backup zip that
// does not read stays as it is (it may hold the only copy of something):
// the next backup of its set goes beside it.
TEST_F(BackupZipTest, RefusesWhatCannotBeKeptOrChecked) {
  WriteFile(folder / "a.rom", "a");
  const BackupItem a = FileBackup(folder / "a.rom", "a.rom");
  // Bytes between the members and the directory: zip writing would take it.
  std::string broken = testing::BuildZip({{"old.rom", "old"}});
  size_t directory = broken.find("PK\1\2");
  broken.insert(directory, "junk");
  testing::Put(broken, broken.size() - 6, uint32_t(directory + 4), 4);
  WriteFile(Backups() + "/broken.zip", broken);
  EXPECT_TRUE(BackUp("broken", {a}));
  EXPECT_EQ(ReadFile(Backups() + "/broken.zip"), broken);
  EXPECT_EQ(ReadBack(Backups() + "/broken (2).zip").size(), 1u);
  // A folder in the backup zip's place, a set name that leaves the backup
  // folder, a backup folder that cannot be made, a missing source.
  ASSERT_TRUE(CreateFolder(Backups() + "/taken.zip"));
  EXPECT_FALSE(BackUp("taken", {a}));
  EXPECT_FALSE(BackUp("../out", {a}));
  EXPECT_FALSE(BackUpToZip(RealFileSystem(), library, folder / "a.rom/sub", "set", {a}));
  EXPECT_FALSE(BackUp("set", {FileBackup(folder / "gone.rom", "gone.rom")}));
  EXPECT_FALSE(PathExists(Backups() + "/set.zip"));
  // A member whose data do not match its CRC-32 is copied, but its backup
  // does not check out. An empty folder has nothing to lose.
  testing::MemberBytes damaged = testing::Deflated("bad.rom", "damaged");
  damaged.crc = 0x12345678;
  WriteFile(folder / "damaged.zip", testing::BuildZip({damaged}));
  EXPECT_FALSE(BackUp("set", {MemberBackup(List("damaged.zip")[0], "bad.rom")}));
  ASSERT_TRUE(CreateFolder(folder / "empty"));
  EXPECT_TRUE(BackUp("other", {FolderBackup(folder / "empty", "empty")}));
}

// A second move takes a free name. Where a rename cannot move a file
// (another disk) it is copied; the original goes only once the copy reads
// back whole, and a copy that does not is removed again. A copy whose
// original cannot be removed is whole and stays.
TEST_F(BackupZipTest, MovesWholeFilesUnderFreeNames) {
  Texts moves;
  for (const char* contents : {"first", "again"}) {
    WriteFile(folder / "roms/set.zip", contents);
    ASSERT_TRUE(MoveIntoBackupFolder(RealFileSystem(), Backups(), folder / "roms/set.zip", &moves.emplace_back()));
  }
  for (std::string& moved : moves) moved = moved.substr(folder.path().size()) + "=" + ReadFile(moved);
  EXPECT_EQ(moves, (Texts{"backup/set.zip=first", "backup/set (2).zip=again"}));
  EXPECT_FALSE(MoveIntoBackupFolder(RealFileSystem(), Backups(), folder / "roms/missing.zip"));

  // Whether the move was made, then which of the original and two copies exist.
  auto move = [&](std::vector<Fault> faults) {
    testing::FaultyFileSystem disk;
    for (const Fault& fault : faults) disk.Fail(fault);
    std::string seen = std::to_string(MoveIntoBackupFolder(disk, Backups(), folder / "roms/A.ZIP"));
    for (const char* name : {"roms/a.zip", "backup/a (2).zip", "backup/a (3).zip"})
      seen += PathExists(folder / name) ? "+" : "-";
    return seen;
  };
  WriteFile(folder / "roms/a.zip", "set");
  WriteFile(Backups() + "/a.zip", "older");
  Fault noRename{FileOperation::kRename};
  EXPECT_EQ(move({noRename, {FileOperation::kRead, "*backup/a (2).zip"}}), "0+--");
  EXPECT_EQ(move({noRename, {FileOperation::kDelete, "*roms/a.zip"}}), "0++-");
  EXPECT_EQ(move({noRename}), "1-++");
  // CRC-32 0, the sum a copy that cannot be read would seem to have.
  WriteFile(folder / "roms/a.zip", "\x9d\n\xd9m");
  EXPECT_EQ(move({noRename, {FileOperation::kRead, "*backup/a (4).zip"}}).substr(0, 2), "0+");
}

}  // namespace
}  // namespace kestrel
