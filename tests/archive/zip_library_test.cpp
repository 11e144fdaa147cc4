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
// member of its own, as ROM names differ byte-wise.
TEST_F(ZipLibraryTest, AddsAndReplacesMembers) {
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
  // The last members gone, the archive goes too: an empty zip is no set.
  ASSERT_TRUE(ZipDeleteEntries(library, folder / "set.zip", {"x.rom", "X.ROM", "b.rom"}));
  EXPECT_FALSE(PathExists(folder / "set.zip"));
  EXPECT_TRUE(ui.messages.empty());
}

// Info-ZIP writes folder entries, and extra fields of other lengths in the
// central headers than in the local ones; streamed, it writes data
// descriptors, which the strict walk does not get past. Rewritten, both
// come out in the form the strict reader accepts.
TEST_F(ZipLibraryTest, ListsAndRewritesArchivesOfOtherPrograms) {
  if (!testing::HaveZip()) GTEST_SKIP() << "zip missing";
  Texts sources = Sources({"old.rom", "new.rom", "inner/deep.rom"});
  ASSERT_TRUE(
      testing::Run("cd " + testing::Quote(folder.path()) + " && zip -q -r infozip.zip src/inner src/old.rom"));
  std::string streamed = folder / "streamed.zip";
  ASSERT_TRUE(testing::Run("zip -q -fz- - - < " + testing::Quote(sources[0]) + " | cat > " +
                           testing::Quote(streamed)));
  const Texts infoZip = {"src/inner/deep.rom=inner/deep.rom/0", "src/old.rom=old.rom/0"};
  EXPECT_EQ(ReadBack(folder / "infozip.zip"), infoZip);
  ZipEntryList list;
  EXPECT_FALSE(ReadZipDirectory(streamed, list, true, true));
  EXPECT_EQ(ui.MessageTexts(), Texts{CorruptZipText(streamed, "BAD CENTRAL DIR ENTRY")});

  ASSERT_TRUE(ZipAddFiles(library, folder / "infozip.zip", {sources[1]}));
  EXPECT_EQ(ReadBack(folder / "infozip.zip"), (Texts{infoZip[0], infoZip[1], "new.rom=new.rom/8"}));
  ASSERT_TRUE(ZipAddFiles(library, streamed, {sources[1]}));
  EXPECT_EQ(ReadBack(streamed), (Texts{"-=old.rom/8", "new.rom=new.rom/8"}));
}

// The compressed size of every member, as the directory states it.
std::vector<uint32_t> CompressedSizes(const std::string& path) {
  ZipEntryList list;
  EXPECT_TRUE(ReadZipDirectory(path, list, true, true));
  std::vector<uint32_t> sizes;
  for (const ZipEntry& entry : list) sizes.push_back(entry.compressedSize);
  return sizes;
}

// One update deletes, adds under other names and copies members of another
// archive as they are, at the level asked for even where a member of the same
// name was deflated at another level; a failing part leaves everything as it was.
TEST_F(ZipLibraryTest, UpdatesAnArchiveInOneStep) {
  const std::string text = testing::Text(200000, 7);
  WriteFile(folder / "src/big.bin", text);
  ZipChanges first;
  first.additions = {{folder / "src/big.bin", "big.rom"}, {Sources({"a.rom"})[0], "A.ROM"}};
  ASSERT_TRUE(ZipUpdate(library, folder / "set", first));
  uint32_t atNine = CompressedSizes(folder / "set.zip")[0];

  library.level = '1';
  ZipChanges second;
  second.deletions = {"A.ROM"};
  second.additions = {{folder / "src/big.bin", "big.rom"}, {folder / "src/a.rom", "a.rom"}};
  ASSERT_TRUE(ZipUpdate(library, folder / "set", second));
  EXPECT_EQ(ReadBack(folder / "set.zip"), (Texts{"big.rom=" + text + "/8", "a.rom=a.rom/8"}));
  EXPECT_GT(CompressedSizes(folder / "set.zip")[0], atNine);
  EXPECT_EQ(ReadFile(folder / "src/a.rom"), "a.rom");  // sources stay where they were

  library.level = '0';
  ZipChanges copy;
  copy.copies = {{folder / "set.zip", "big.rom", "copied.rom"}};
  ASSERT_TRUE(ZipUpdate(library, folder / "other", copy));
  EXPECT_EQ(ReadBack(folder / "other.zip"), Texts{"copied.rom=" + text + "/8"});  // not recompressed

  // A missing member or source, a folder as source, or nothing to do: no
  // change at all, and nothing left behind.
  std::string before = ReadFile(folder / "other.zip");
  for (ZipChanges failing : {ZipChanges{{}, {}, {{folder / "set.zip", "absent", "x"}}},
                             ZipChanges{{"copied.rom"}, {{folder / "src/missing", "m"}}, {}},
                             ZipChanges{{}, {{folder / "src/", "folder"}}, {}},
                             ZipChanges{{"absent"}, {{folder / "src/a.rom", "a.rom"}}, {}}, ZipChanges{}}) {
    EXPECT_FALSE(ZipUpdate(library, folder / "other", failing));
    EXPECT_EQ(ReadFile(folder / "other.zip"), before);
  }
  WriteFile(folder / "text.zip", "no zip archive");
  EXPECT_FALSE(ZipAddFiles(library, folder / "text.zip", {folder / "src/a.rom"}));
  EXPECT_EQ(ReadFile(folder / "text.zip"), "no zip archive");
  EXPECT_FALSE(ZipDeleteEntries(library, folder / "absent.zip", {"a.rom"}));
  EXPECT_EQ(ListFolder(folder.path()).size(), 4u);
}

}  // namespace
}  // namespace kestrel
