#include "archive/backup_zip.h"

#include <gtest/gtest.h>

#include "archive/folder_tree.h"
#include "archive/zip_fixtures.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::WriteFile;
using Texts = std::vector<std::string>;

class BackupZipTest : public testing::ZipTest {
 protected:
  std::string Backups() const { return folder / "backup"; }
  // The members of the zip `path` as "name=contents".
  Texts Members(const std::string& path) {
    Texts members;
    for (const std::string& member : ReadBack(path)) members.push_back(member.substr(0, member.rfind('/')));
    return members;
  }

  ZipLibrary library;
};

// Two members of one name in the source zip: the entry, not the name,
// says which one is kept. A second backup of the same names numbers them
// rather than replacing the first; a leading dot is no extension.
TEST_F(BackupZipTest, StoresFilesFoldersAndMembersByEntryWithoutReplacingEarlierBackups) {
  WriteFile(folder / "set/loose.rom", "loose");
  WriteFile(folder / "set/.DS_Store", "finder");
  WriteFile(folder / "set/extra/one.bin", "one");
  WriteFile(folder / "set/extra/deep/two.bin", "two");
  WriteFile(folder / "twins.zip", testing::BuildZip({{"a.rom", "first"}, testing::Deflated("a.rom", "second")}));
  ZipEntryList twins;
  ASSERT_TRUE(ReadZipDirectory(RealFileSystem(), folder / "twins.zip", twins, true, nullptr));
  ASSERT_EQ(twins.size(), 2u);

  std::vector<BackupItem> items = {FileBackup(folder / "set/loose.rom", "loose.rom"),
                                   FolderBackup(folder / "set/extra", "extra"), MemberBackup(twins[1], "a.rom"),
                                   FileBackup(folder / "set/.DS_Store", ".DS_Store")};
  ASSERT_TRUE(BackUpToZip(RealFileSystem(), library, Backups(), "set", items));
  ASSERT_TRUE(
      BackUpToZip(RealFileSystem(), library, Backups(), "set", {MemberBackup(twins[0], "a.rom"), items[0], items[3]}));
  EXPECT_EQ(Members(Backups() + "/set.zip"),
            (Texts{"loose.rom=loose", "extra/deep/two.bin=two", "extra/one.bin=one", ".DS_Store=finder",
                   "a.rom=second", "loose (2).rom=loose", ".DS_Store (2)=finder", "a (2).rom=first"}));
  // The sources stay; removing them is the caller's business.
  EXPECT_EQ(ReadFile(folder / "set/loose.rom"), "loose");
  EXPECT_EQ(ReadBack(folder / "twins.zip").size(), 2u);
}

// Nothing is stored where it could not be checked, and a backup zip that
// does not read stays as it is (it may hold the only copy of something):
// the next backup of its set goes beside it.
TEST_F(BackupZipTest, RefusesWhatCannotBeKeptOrChecked) {
  WriteFile(folder / "a.rom", "a");
  // Bytes between the members and the directory: zip writing would take it.
  std::string broken = testing::BuildZip({{"old.rom", "old"}});
  size_t directory = broken.find("PK\1\2");
  broken.insert(directory, "junk");
  testing::Put32(broken, broken.size() - 6, uint32_t(directory + 4));
  WriteFile(Backups() + "/broken.zip", broken);
  EXPECT_TRUE(BackUpToZip(RealFileSystem(), library, Backups(), "broken", {FileBackup(folder / "a.rom", "a.rom")}));
  EXPECT_EQ(ReadFile(Backups() + "/broken.zip"), broken);
  EXPECT_EQ(ReadBack(Backups() + "/broken (2).zip").size(), 1u);
  // A folder in the backup zip's place, a set name that leaves the backup
  // folder, a backup folder that cannot be made, a missing source.
  ASSERT_TRUE(CreateFolder(Backups() + "/taken.zip"));
  EXPECT_FALSE(BackUpToZip(RealFileSystem(), library, Backups(), "taken", {FileBackup(folder / "a.rom", "a.rom")}));
  EXPECT_FALSE(BackUpToZip(RealFileSystem(), library, Backups(), "../out", {FileBackup(folder / "a.rom", "a.rom")}));
  EXPECT_FALSE(
      BackUpToZip(RealFileSystem(), library, folder / "a.rom/sub", "set", {FileBackup(folder / "a.rom", "a.rom")}));
  EXPECT_FALSE(BackUpToZip(RealFileSystem(), library, Backups(), "set", {FileBackup(folder / "gone.rom", "gone.rom")}));
  EXPECT_FALSE(PathExists(Backups() + "/set.zip"));

  // A member whose data do not match its CRC-32 is copied, but its backup
  // does not check out.
  testing::MemberBytes damaged = testing::Deflated("bad.rom", "damaged");
  damaged.crc = 0x12345678;
  WriteFile(folder / "damaged.zip", testing::BuildZip({damaged}));
  ZipEntryList list;
  ASSERT_TRUE(ReadZipDirectory(RealFileSystem(), folder / "damaged.zip", list, true, nullptr));
  EXPECT_FALSE(BackUpToZip(RealFileSystem(), library, Backups(), "set", {MemberBackup(list[0], "bad.rom")}));
  // An empty folder has nothing to lose.
  ASSERT_TRUE(CreateFolder(folder / "empty"));
  EXPECT_TRUE(BackUpToZip(RealFileSystem(), library, Backups(), "other", {FolderBackup(folder / "empty", "empty")}));
}

TEST_F(BackupZipTest, MovesWholeFilesUnderFreeNames) {
  WriteFile(folder / "roms/set.zip", "first");
  std::string movedTo;
  ASSERT_TRUE(MoveIntoBackupFolder(RealFileSystem(), Backups(), folder / "roms/set.zip", &movedTo));
  EXPECT_EQ(movedTo, Backups() + "/set.zip");
  WriteFile(folder / "roms/set.zip", "again");
  ASSERT_TRUE(MoveIntoBackupFolder(RealFileSystem(), Backups(), folder / "roms/set.zip", &movedTo));
  EXPECT_EQ(movedTo, Backups() + "/set (2).zip");
  EXPECT_EQ(ReadFile(Backups() + "/set.zip"), "first");
  EXPECT_EQ(ReadFile(Backups() + "/set (2).zip"), "again");
  EXPECT_FALSE(PathExists(folder / "roms/set.zip"));
  EXPECT_FALSE(MoveIntoBackupFolder(RealFileSystem(), Backups(), folder / "roms/missing.zip"));

  // Onto another file system the move is a copy, checked before the
  // original goes.
  std::string other = FolderExists("/dev/shm") ? CreateUniqueFolder("/dev/shm") : "";
  if (other.empty()) return;
  WriteFile(folder / "roms/big.zip", testing::Text(300000, 3));
  EXPECT_TRUE(MoveIntoBackupFolder(RealFileSystem(), other + "backup", folder / "roms/big.zip", &movedTo));
  EXPECT_EQ(ReadFile(movedTo), testing::Text(300000, 3));
  EXPECT_FALSE(PathExists(folder / "roms/big.zip"));
  DeleteFolderTree(RealFileSystem(), other);
}

}  // namespace
}  // namespace kestrel
