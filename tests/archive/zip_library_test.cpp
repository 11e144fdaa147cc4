#include "archive/zip_library.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "archive/zip_fixtures.h"
#include "support/faulty_file_system.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::Texts;
using testing::WriteFile;

class ZipLibraryTest : public testing::ZipTest {
 protected:
  // Source files named `names`, with their own names as contents.
  Texts Sources(const Texts& names) {
    Texts paths;
    for (const std::string& name : names) WriteFile(paths.emplace_back(folder / ("src/" + name)), name);
    return paths;
  }

  ZipLibrary library;
};

// Same name byte for byte (8-bit names too) replaces; another spelling is a
// member of its own, as ROM names differ byte-wise. A replaced member is a
// new one, at the end. The last members gone, the archive goes too: an
// empty zip is no set.
TEST_F(ZipLibraryTest, AddsReplacesAndDeletesMembers) {
  const std::string latin = "caf\xe9.rom";
  WriteFile(folder / "set.zip", testing::BuildZip({}));  // a zip of its end record alone takes members too
  ASSERT_TRUE(ZipAddFiles(RealFileSystem(), library, folder / "set", Sources({"x.rom", latin})));
  library.level = '0';
  WriteFile(folder / "new/x.rom", "new");
  ASSERT_TRUE(
      ZipAddFiles(RealFileSystem(), library, folder / "SET.ZIP", {folder / "new/x.rom", Sources({"X.ROM"})[0]}));
  EXPECT_EQ(ReadBack(folder / "set.zip"), (Texts{latin + "=" + latin + "/8", "x.rom=new/0", "X.ROM=X.ROM/0"}));
  EXPECT_EQ(ListFolder(folder.path()).size(), 3u);  // no temporary file, no twin archive
  ASSERT_TRUE(ZipDeleteEntries(RealFileSystem(), library, folder / "set", {latin, latin}));
  ASSERT_EQ(::chmod((folder / "set.zip").c_str(), 0444), 0);
  ASSERT_TRUE(ZipAddFiles(RealFileSystem(), library, folder / "set", Sources({"b.rom"})));
  EXPECT_EQ(ReadBack(folder / "set.zip"), (Texts{"x.rom=new/0", "X.ROM=X.ROM/0", "b.rom=b.rom/0"}));
  ASSERT_TRUE(ZipDeleteEntries(RealFileSystem(), library, folder / "set.zip", {"x.rom", "X.ROM", "b.rom"}));
  EXPECT_FALSE(PathExists(folder / "set.zip"));
}

// Each level character compresses as its digit, one that is no digit as
// '9'. Sizes differ between zlib versions; which levels agree does not.
TEST_F(ZipLibraryTest, CompressesAtEachDigitAndOtherwiseAtNine) {
  WriteFile(folder / "a.rom", testing::Text(60000, 5));
  std::vector<uint32_t> sizes;
  for (char level : {'1', '6', '8', '9', 'x'}) {
    library.level = level;
    const std::string zip = folder / (std::string(1, level) + ".zip");
    ASSERT_TRUE(ZipAddFiles(RealFileSystem(), library, zip, {folder / "a.rom"}));
    ZipEntryList members;
    ASSERT_TRUE(ReadZipDirectory(RealFileSystem(), zip, members, true, nullptr));
    sizes.push_back(members[0].compressedSize);
  }
  EXPECT_EQ(std::set<uint32_t>(sizes.begin(), sizes.end()).size(), 4u);
  EXPECT_EQ(sizes[3], sizes[4]);
}

// One update deletes, adds under other names and copies members of another
// archive as they are (not recompressed at the new level); sources stay.
// A missing member or source, a member without a name, or nothing to do:
// no change at all, and nothing left behind.
TEST_F(ZipLibraryTest, UpdatesAnArchiveInOneStep) {
  const std::string text = testing::Text(200000, 7);
  WriteFile(folder / "src/big.bin", text);
  ZipChanges first, second;
  first.additions = {{folder / "src/big.bin", "big.rom"}, {Sources({"a.rom"})[0], "A.ROM"}};
  ASSERT_TRUE(ZipUpdate(RealFileSystem(), library, folder / "set", first));
  library.level = '0';
  second.deletions = {"A.ROM"};
  second.additions = {{folder / "src/a.rom", "a.rom"}};
  second.copies = {{folder / "set.zip", "big.rom", "copied.rom"}};
  ASSERT_TRUE(ZipUpdate(RealFileSystem(), library, folder / "set", second));
  EXPECT_EQ(ReadBack(folder / "set.zip"),
            (Texts{"big.rom=" + text + "/8", "a.rom=a.rom/0", "copied.rom=" + text + "/8"}));
  EXPECT_EQ(ReadFile(folder / "src/a.rom"), "a.rom");

  std::string before = ReadFile(folder / "set.zip");
  ZipEntryList list;
  ASSERT_TRUE(ReadZipDirectory(RealFileSystem(), folder / "set.zip", list, true, nullptr));
  std::vector<ZipChanges> failings(6);
  failings[0].copies = {{folder / "set.zip", "absent", "x"}};
  failings[1].deletions = {"copied.rom"};
  failings[1].additions = {{folder / "src/missing", "m"}};
  failings[2].deletions = {"absent"};
  failings[2].additions = {{folder / "src/a.rom", "a.rom"}};
  failings[3].additions = {{folder / "src/a.rom", ""}};
  failings[4].copiedEntries = {{list[0], ""}};
  for (const ZipChanges& failing : failings) {
    EXPECT_FALSE(ZipUpdate(RealFileSystem(), library, folder / "set", failing));
    EXPECT_EQ(ReadFile(folder / "set.zip"), before);
  }
  EXPECT_EQ(ListFolder(folder.path()).size(), 2u);
}

// Every step of writing an archive goes through the file system it is
// given: whichever fails (the temporary file, a write, a full disk, bringing
// it to the disk, the rename over the archive, reading a member to copy or a
// file to add), the archive stays byte for byte and nothing is left beside it.
TEST_F(ZipLibraryTest, AFailureAtAnyStepOfAWriteLeavesTheArchiveAndNoTemporaryFile) {
  library.level = '0';
  Sources({"a.rom", "c.rom"});
  WriteFile(folder / "src/b.rom", testing::Text(300000, 9));
  ASSERT_TRUE(ZipAddFiles(RealFileSystem(), library, folder / "set", {folder / "src/a.rom"}));
  ASSERT_TRUE(ZipAddFiles(RealFileSystem(), library, folder / "other", {folder / "src/c.rom"}));
  const std::string before = ReadFile(folder / "set.zip");
  ZipChanges changes;
  changes.deletions = {"a.rom"};
  changes.additions = {{folder / "src/b.rom", "new.rom"}};
  changes.copies = {{folder / "other.zip", "c.rom", "c.rom"}};
  using testing::FileOperation;
  const std::vector<testing::Fault> faults = {
      {FileOperation::kCreate, "*/set.zip.*"},  {FileOperation::kWrite, "*/set.zip.*"},
      {FileOperation::kSync, "*/set.zip.*"},    {FileOperation::kReplace, "*/set.zip.*"},
      {FileOperation::kRead, "*/other.zip", 3}, {FileOperation::kRead, "*/src/b.rom"},
  };
  for (size_t i = 0; i <= faults.size(); ++i) {
    SCOPED_TRACE(i);
    testing::FaultyFileSystem disk;
    if (i < faults.size())
      disk.Fail(faults[i]);
    else
      disk.FillDiskAfter(100000);
    EXPECT_FALSE(ZipUpdate(disk, library, folder / "set", changes));
    EXPECT_EQ(ReadFile(folder / "set.zip"), before);
    EXPECT_EQ(ListFolder(folder.path()).size(), 3u);  // set.zip, other.zip, src
  }
  // An empty zip under a full disk stays byte for byte too.
  WriteFile(folder / "empty.zip", testing::BuildZip({}));
  testing::FaultyFileSystem fullDisk;
  fullDisk.FillDiskAfter(10);
  EXPECT_FALSE(ZipAddFiles(fullDisk, library, folder / "empty.zip", {folder / "src/a.rom"}));
  EXPECT_EQ(ReadFile(folder / "empty.zip"), testing::BuildZip({}));
  EXPECT_EQ(ListFolder(folder.path()).size(), 4u);
  testing::FaultyFileSystem working;
  EXPECT_TRUE(ZipUpdate(working, library, folder / "set", changes));
  EXPECT_GT(working.CallsSeen(FileOperation::kReplace, "*/set.zip.*"), 0);
}

// Two members of one name, listed by the directory in the other order than
// they lie: only the entry tells them apart, and a name alone is refused
// rather than guessed at. The old listing no longer stands for what the
// archive holds once it changed.
TEST_F(ZipLibraryTest, MembersOfOneNameAreTakenByEntryNeverByName) {
  const std::string twins = folder / "twins.zip";
  WriteFile(twins, testing::BuildZip({{"a.rom", "first"}, {"a.rom", "second"}, {"b.rom", "b"}}, true));
  std::string before = ReadFile(twins);
  ZipEntryList list;
  ASSERT_TRUE(ReadZipDirectory(RealFileSystem(), twins, list, true, nullptr));
  ASSERT_EQ(list.size(), 3u);
  ZipChanges byName, rename, stale;
  byName.copies = {{twins, "a.rom", "copy.rom"}};
  EXPECT_FALSE(ZipDeleteEntries(RealFileSystem(), library, twins, {"a.rom"}));
  EXPECT_FALSE(ZipAddFiles(RealFileSystem(), library, twins, Sources({"a.rom"})));
  EXPECT_FALSE(ZipUpdate(RealFileSystem(), library, twins, byName));
  EXPECT_EQ(ReadFile(twins), before);

  rename.deletedEntries = stale.deletedEntries = {list[0]};
  rename.copiedEntries = {{list[0], "first.rom"}};
  ASSERT_TRUE(ZipUpdate(RealFileSystem(), library, twins, rename));
  EXPECT_EQ(ReadBack(twins), (Texts{"b.rom=b/0", "a.rom=second/0", "first.rom=first/0"}));
  EXPECT_FALSE(ZipUpdate(RealFileSystem(), library, twins, stale));
  EXPECT_EQ(ReadBack(twins).size(), 3u);
}

// An entry listed before its member was stored again (same name, size and
// CRC-32, other compressed size) or renamed (in another case) is stale: the
// update is refused, the archive left byte for byte. An entry given twice
// is deleted once.
TEST_F(ZipLibraryTest, RefusesStaleEntriesAndDeletesAnEntryOnce) {
  const std::string data(64, 'a'), set = folder / "set.zip";
  WriteFile(set, testing::BuildZip({{"a.rom", data}, {"b.rom", "b"}}));
  ZipEntryList stale, list;
  ASSERT_TRUE(ReadZipDirectory(RealFileSystem(), set, stale, true, nullptr));
  WriteFile(set, testing::BuildZip({testing::Deflated("a.rom", data), {"B.rom", "b"}}));
  const std::string before = ReadFile(set);
  for (const ZipEntry& entry : stale) {
    ZipChanges changes;
    changes.deletedEntries = {entry};
    EXPECT_FALSE(ZipUpdate(RealFileSystem(), library, set, changes)) << entry.name;
    EXPECT_EQ(ReadFile(set), before);
  }
  ASSERT_TRUE(ReadZipDirectory(RealFileSystem(), set, list, true, nullptr));
  ZipChanges twice;
  twice.deletedEntries = {list[1], list[1]};
  EXPECT_TRUE(ZipUpdate(RealFileSystem(), library, set, twice));
  EXPECT_EQ(ReadBack(set), Texts{"a.rom=" + data + "/8"});
}

}  // namespace
}  // namespace kestrel
