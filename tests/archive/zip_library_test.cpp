#include "archive/zip_library.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/user_interface.h"
#include "archive/zip_fixtures.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::WriteFile;
using Texts = std::vector<std::string>;

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
// member of its own, as ROM names differ byte-wise. The last members gone,
// the archive goes too: an empty zip is no set.
TEST_F(ZipLibraryTest, AddsReplacesAndDeletesMembers) {
  ASSERT_TRUE(InitZipLibrary(library));
  const std::string latin = "caf\xe9.rom";
  ASSERT_TRUE(ZipAddFiles(library, folder / "set", Sources({"x.rom", latin})));
  library.level = '0';
  WriteFile(folder / "new/x.rom", "new");
  ASSERT_TRUE(ZipAddFiles(library, folder / "SET.ZIP", {folder / "new/x.rom", Sources({"X.ROM"})[0]}));
  // A replaced member is a new one, at the end.
  EXPECT_EQ(ReadBack(folder / "set.zip"),
            (Texts{latin + "=" + latin + "/8", "x.rom=new/0", "X.ROM=X.ROM/0"}));
  EXPECT_EQ(ListFolder(folder.path()).size(), 3u);  // no temporary file, no twin archive
  ASSERT_TRUE(ZipDeleteEntries(library, folder / "set", {latin, latin}));
  ASSERT_EQ(::chmod((folder / "set.zip").c_str(), 0444), 0);
  ASSERT_TRUE(ZipAddFiles(library, folder / "set", Sources({"b.rom"})));
  EXPECT_EQ(ReadBack(folder / "set.zip"), (Texts{"x.rom=new/0", "X.ROM=X.ROM/0", "b.rom=b.rom/0"}));
  ASSERT_TRUE(ZipDeleteEntries(library, folder / "set.zip", {"x.rom", "X.ROM", "b.rom"}));
  EXPECT_FALSE(PathExists(folder / "set.zip"));
}

// One update deletes, adds under other names and copies members of another
// archive as they are; a failing part leaves everything as it was.
TEST_F(ZipLibraryTest, UpdatesAnArchiveInOneStep) {
  const std::string text = testing::Text(200000, 7);
  WriteFile(folder / "src/big.bin", text);
  ZipChanges first;
  first.additions = {{folder / "src/big.bin", "big.rom"}, {Sources({"a.rom"})[0], "A.ROM"}};
  ASSERT_TRUE(ZipUpdate(library, folder / "set", first));
  library.level = '0';
  ZipChanges second;
  second.deletions = {"A.ROM"};
  second.additions = {{folder / "src/a.rom", "a.rom"}};
  second.copies = {{folder / "set.zip", "big.rom", "copied.rom"}};
  ASSERT_TRUE(ZipUpdate(library, folder / "set", second));
  // The copy is not recompressed at the new level.
  EXPECT_EQ(ReadBack(folder / "set.zip"),
            (Texts{"big.rom=" + text + "/8", "a.rom=a.rom/0", "copied.rom=" + text + "/8"}));
  EXPECT_EQ(ReadFile(folder / "src/a.rom"), "a.rom");  // sources stay where they were

  // A missing member or source, a folder as source, or nothing to do: no
  // change at all, and nothing left behind.
  std::string before = ReadFile(folder / "set.zip");
  std::vector<ZipChanges> failings(3);
  failings[0].copies = {{folder / "set.zip", "absent", "x"}};
  failings[1].deletions = {"copied.rom"};
  failings[1].additions = {{folder / "src/missing", "m"}};
  failings[2].deletions = {"absent"};
  failings[2].additions = {{folder / "src/a.rom", "a.rom"}};
  for (const ZipChanges& failing : failings) {
    EXPECT_FALSE(ZipUpdate(library, folder / "set", failing));
    EXPECT_EQ(ReadFile(folder / "set.zip"), before);
  }
  EXPECT_EQ(ListFolder(folder.path()).size(), 2u);
}

}  // namespace
}  // namespace kestrel
