#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/zip_fixtures.h"
#include "archive/zip_reader.h"

namespace kestrel {
namespace {

using testing::BuildZip;
using testing::WriteFile;
using Texts = std::vector<std::string>;

using ZipFolderEntriesTest = testing::ZipTest;

// Folders, marked by either separator at the end, and names that stand for
// no file are no members; a zip of nothing else is a zip without members,
// and a member without a name is damage.
TEST_F(ZipFolderEntriesTest, SkipsFoldersAndDotNames) {
  WriteFile(folder / "set.zip", BuildZip({{"sub/", ""}, {"win\\", ""}, {"sub/.", "d"}, {"up/..", "u"},
                                          {"sub/a.rom", "abc"}, {"B.ROM", "x"}}));
  EXPECT_EQ(ReadBack(folder / "set.zip"), (Texts{"sub/a.rom=abc/0", "B.ROM=x/0"}));
  WriteFile(folder / "none.zip", BuildZip({{"sub/", ""}, {"win\\", ""}}));
  WriteFile(folder / "noname.zip", BuildZip({{"a.rom", "a"}, {"", "x"}}));
  ZipEntryList list;
  ZipProblem problem;
  EXPECT_TRUE(ReadZipDirectory(RealFileSystem(), folder / "none.zip", list, true, &problem));
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(ReadZipDirectory(RealFileSystem(), folder / "noname.zip", list, true, &problem));
  EXPECT_EQ(Describe(problem), "local " + folder / "noname.zip");
}

}  // namespace
}  // namespace kestrel
