#include <gtest/gtest.h>

#include "archive/zip_fixtures.h"
#include "archive/zip_library.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::Texts;
using testing::WriteFile;

class UpdateRefusalsTest : public testing::ZipTest {
 protected:
  ZipEntryList List(const std::string& zip) {
    ZipEntryList list;
    EXPECT_TRUE(ReadZipDirectory(RealFileSystem(), folder / zip, list, true, nullptr));
    return list;
  }
  ZipLibrary library;
};

// An entry listed before its member was stored again (same name, size and
// CRC-32, other compressed size) or renamed (in another case), a member without a name and an update
// without changes are refused, the archive left byte for byte. An entry
// given twice is deleted once.
TEST_F(UpdateRefusalsTest, RefusesStaleEntriesNamelessMembersAndNoChanges) {
  const std::string data(64, 'a');
  WriteFile(folder / "set.zip", testing::BuildZip({{"a.rom", data}, {"b.rom", "b"}}));
  ZipEntryList stale = List("set.zip");
  WriteFile(folder / "set.zip", testing::BuildZip({testing::Deflated("a.rom", data), {"B.rom", "b"}}));
  WriteFile(folder / "other.zip", testing::BuildZip({{"c.rom", "c"}}));
  WriteFile(folder / "c.rom", "c");
  const std::string before = ReadFile(folder / "set.zip");
  std::vector<ZipChanges> refused(5);
  refused[0].deletedEntries = {stale[0]};
  refused[1].additions = {{folder / "c.rom", ""}};
  refused[2].copiedEntries = {{List("other.zip")[0], ""}};
  refused[3].deletedEntries = {stale[1]};
  for (const ZipChanges& changes : refused) {
    EXPECT_FALSE(ZipUpdate(RealFileSystem(), library, folder / "set.zip", changes));
    EXPECT_TRUE(ReadFile(folder / "set.zip") == before);
  }
  ZipChanges twice;
  twice.deletedEntries = {List("set.zip")[1], List("set.zip")[1]};
  EXPECT_TRUE(ZipUpdate(RealFileSystem(), library, folder / "set.zip", twice));
  EXPECT_EQ(ReadBack(folder / "set.zip"), Texts{"a.rom=" + data + "/8"});
}

}  // namespace
}  // namespace kestrel
