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
  EXPECT_EQ(ReadBack(folder / "set.zip"),
            (Texts{"x.rom=new/0", latin + "=" + latin + "/8", "X.ROM=X.ROM/0"}));
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

TEST_F(ZipLibraryTest, FailuresLeaveTheArchiveUntouched) {
  Texts sources = Sources({"a.rom"});
  ASSERT_TRUE(ZipAddFiles(library, folder / "set", sources));
  std::string before = ReadFile(folder / "set.zip");
  EXPECT_FALSE(ZipAddFiles(library, folder / "set", {}));
  EXPECT_FALSE(ZipAddFiles(library, folder / "set", {sources[0], folder / "src/missing.rom"}));
  EXPECT_FALSE(ZipAddFiles(library, folder / "set", {folder / "src/"}));
  EXPECT_FALSE(ZipDeleteEntries(library, folder / "set", {}));
  EXPECT_FALSE(ZipDeleteEntries(library, folder / "set", {"a.rom", "A.ROM"}));
  EXPECT_EQ(ReadFile(folder / "set.zip"), before);
  WriteFile(folder / "text.zip", "no zip archive");
  EXPECT_FALSE(ZipAddFiles(library, folder / "text.zip", sources));
  EXPECT_EQ(ReadFile(folder / "text.zip"), "no zip archive");
  EXPECT_FALSE(ZipDeleteEntries(library, folder / "absent.zip", {"a.rom"}));
  EXPECT_EQ(ListFolder(folder.path()).size(), 3u);
}

}  // namespace
}  // namespace kestrel
