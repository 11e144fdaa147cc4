#include "archive/zip_library.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "archive/zip_fixtures.h"
#include "archive/zip_reader.h"
#include "archive/zip_test_environment.h"
#include "platform/file_system.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::WriteFile;

class ZipLibraryTest : public testing::ZipTest {
 protected:
  void SetUp() override {
    ZipTest::SetUp();
    ASSERT_TRUE(InitZipLibrary(library));
  }

  // Lists the archive with the advanced comparison off and on; both must
  // accept it. Returns "name=contents" for every member, in order.
  std::vector<std::string> ReadBack(const std::string& path) {
    std::vector<std::string> members;
    ZipEntryList list;
    for (bool advanced : {false, true}) {
      Switches().advancedZipScanner = advanced;
      EXPECT_TRUE(ReadZipDirectory(path, list, true, true)) << path << " advanced " << advanced;
    }
    Switches().advancedZipScanner = false;
    for (const ZipEntry& entry : list) {
      EXPECT_EQ(entry.localHeader[6] & 8, 0) << "data descriptor for " << entry.storedName;
      EXPECT_TRUE(ExtractZipEntry(entry, folder / "check.tmp"));
      members.push_back(entry.storedName + "=" + ReadFile(folder / "check.tmp"));
      DeleteFile(folder / "check.tmp");
    }
    return members;
  }

  std::vector<uint16_t> Methods(const std::string& path) {
    ZipEntryList list;
    ReadZipDirectory(path, list, true, false);
    std::vector<uint16_t> methods;
    for (const ZipEntry& entry : list) methods.push_back(entry.method);
    return methods;
  }

  ZipLibrary library;
  std::string big = testing::CompressibleText(100000, 21);
};

TEST_F(ZipLibraryTest, WritesArchivesTheStrictReaderAccepts) {
  WriteFile(folder / "src/a.rom", big);
  WriteFile(folder / "src/b.rom", "bee");
  ASSERT_TRUE(ZipAddFiles(library, folder / "set", {folder / "src/a.rom", folder / "src/b.rom"}));
  EXPECT_EQ(ReadBack(folder / "set.zip"), (std::vector<std::string>{"a.rom=" + big, "b.rom=bee"}));
  EXPECT_EQ(Methods(folder / "set.zip"), (std::vector<uint16_t>{8, 8}));

  library.level = '0';
  WriteFile(folder / "src/c.rom", big);
  ASSERT_TRUE(ZipAddFiles(library, folder / "SET.ZIP", {folder / "src/c.rom"}));  // found without case
  EXPECT_EQ(Methods(folder / "set.zip"), (std::vector<uint16_t>{8, 8, 0}));
  EXPECT_EQ(ListFolder(folder.path()).size(), 2u);  // no temporary file left, no twin archive
  EXPECT_TRUE(ui.messages.empty());
  if (testing::HavePython()) {
    EXPECT_TRUE(testing::RunPython("import zipfile, sys\nz = zipfile.ZipFile('" + folder / "set.zip" +
                                   "')\nsys.exit(z.testzip() is not None or z.namelist() != ['a.rom', 'b.rom', 'c.rom'])\n"));
  }
}

// A member of exactly the same name is replaced; another spelling is a
// member of its own, as ROM names differ byte-wise. Names in the 8-bit code
// page match byte for byte too.
TEST_F(ZipLibraryTest, ReplacesMembersOfTheSameName) {
  const std::string latin = "caf\xe9.rom";
  WriteFile(folder / "one/x.rom", "first");
  WriteFile(folder / ("one/" + latin), "first");
  WriteFile(folder / "two/x.rom", "second");
  WriteFile(folder / "two/X.ROM", "upper");
  WriteFile(folder / ("two/" + latin), "second");
  ASSERT_TRUE(ZipAddFiles(library, folder / "set.zip", {folder / "one/x.rom", folder / ("one/" + latin)}));
  ASSERT_TRUE(ZipAddFiles(library, folder / "set.zip",
                          {folder / "two/x.rom", folder / "two/X.ROM", folder / ("two/" + latin)}));
  EXPECT_EQ(ReadBack(folder / "set.zip"),
            (std::vector<std::string>{"x.rom=second", latin + "=second", "X.ROM=upper"}));
  ASSERT_TRUE(ZipDeleteEntries(library, folder / "set.zip", {latin}));
  EXPECT_EQ(ReadBack(folder / "set.zip"), (std::vector<std::string>{"x.rom=second", "X.ROM=upper"}));
}

// Archives made elsewhere, with folders, extra fields and data descriptors,
// come out in the form the reader accepts.
TEST_F(ZipLibraryTest, UpdatesArchivesOfOtherPrograms) {
  if (!testing::HaveCommand("zip")) GTEST_SKIP() << "zip missing";
  WriteFile(folder / "src/dir/old.rom", big);
  WriteFile(folder / "src/new.rom", "new");
  std::string src = testing::ShellQuote(folder / "src");
  ASSERT_TRUE(testing::RunCommand("cd " + src + " && zip -q -r ../infozip.zip dir"));
  ASSERT_TRUE(testing::RunCommand("cat " + testing::ShellQuote(folder / "src/dir/old.rom") +
                                  " | zip -q -fz- - - | cat > " + testing::ShellQuote(folder / "streamed.zip")));
  ASSERT_TRUE(ZipAddFiles(library, folder / "infozip.zip", {folder / "src/new.rom"}));
  EXPECT_EQ(ReadBack(folder / "infozip.zip"), (std::vector<std::string>{"dir/old.rom=" + big, "new.rom=new"}));
  ASSERT_TRUE(ZipAddFiles(library, folder / "streamed.zip", {folder / "src/new.rom"}));
  EXPECT_EQ(ReadBack(folder / "streamed.zip"), (std::vector<std::string>{"-=" + big, "new.rom=new"}));
}

TEST_F(ZipLibraryTest, DeletesMembers) {
  for (const char* name : {"a.rom", "b.rom", "c.rom"}) WriteFile(folder / ("src/" + std::string(name)), name);
  std::vector<std::string> all{folder / "src/a.rom", folder / "src/b.rom", folder / "src/c.rom"};
  ASSERT_TRUE(ZipAddFiles(library, folder / "set", all));
  ASSERT_TRUE(ZipDeleteEntries(library, folder / "set", {"b.rom", "b.rom"}));
  EXPECT_EQ(ReadBack(folder / "set.zip"), (std::vector<std::string>{"a.rom=a.rom", "c.rom=c.rom"}));
  // The last members gone, the archive goes too: an empty zip is no set.
  ASSERT_TRUE(ZipDeleteEntries(library, folder / "set.zip", {"a.rom", "c.rom"}));
  EXPECT_FALSE(PathExists(folder / "set.zip"));
}

// Whatever fails, the archive on disk stays exactly as it was.
TEST_F(ZipLibraryTest, FailuresLeaveTheArchiveUntouched) {
  WriteFile(folder / "src/a.rom", "a");
  ASSERT_TRUE(ZipAddFiles(library, folder / "set", {folder / "src/a.rom"}));
  std::string before = ReadFile(folder / "set.zip");
  EXPECT_FALSE(ZipAddFiles(library, folder / "set", {}));
  EXPECT_FALSE(ZipAddFiles(library, folder / "set", {folder / "src/a.rom", folder / "src/missing.rom"}));
  EXPECT_FALSE(ZipAddFiles(library, folder / "set", {folder / "src/"}));
  EXPECT_FALSE(ZipDeleteEntries(library, folder / "set", {}));
  EXPECT_FALSE(ZipDeleteEntries(library, folder / "set", {"a.rom", "A.ROM"}));
  EXPECT_EQ(ReadFile(folder / "set.zip"), before);

  WriteFile(folder / "text.zip", "this is no zip archive");
  EXPECT_FALSE(ZipAddFiles(library, folder / "text.zip", {folder / "src/a.rom"}));
  EXPECT_EQ(ReadFile(folder / "text.zip"), "this is no zip archive");
  EXPECT_FALSE(ZipDeleteEntries(library, folder / "absent.zip", {"a.rom"}));
  EXPECT_FALSE(PathExists(folder / "absent.zip"));
  EXPECT_EQ(ListFolder(folder.path()).size(), 3u);
}

TEST_F(ZipLibraryTest, WritesAReadOnlyArchive) {
  WriteFile(folder / "src/a.rom", "a");
  WriteFile(folder / "src/b.rom", "b");
  ASSERT_TRUE(ZipAddFiles(library, folder / "set", {folder / "src/a.rom"}));
  ASSERT_EQ(::chmod((folder / "set.zip").c_str(), 0444), 0);
  EXPECT_TRUE(ZipAddFiles(library, folder / "set", {folder / "src/b.rom"}));
  EXPECT_EQ(ReadBack(folder / "set.zip"), (std::vector<std::string>{"a.rom=a", "b.rom=b"}));
}

}  // namespace
}  // namespace kestrel
