#include <gtest/gtest.h>

#include "archive/zip_fixtures.h"
#include "archive/zip_library.h"
#include "support/faulty_file_system.h"

namespace kestrel {
namespace {

using testing::BuildZip;
using testing::ReadFile;
using testing::Texts;
using testing::WriteFile;

using EmptyZipTest = testing::ZipTest;

// A zip of its end record alone is a valid zip without members under
// either header check; an end record cut short or following junk is still
// damage.
TEST_F(EmptyZipTest, ReadsAsAZipWithoutMembers) {
  WriteFile(folder / "bare.zip", BuildZip({}));
  WriteFile(folder / "cut.zip", BuildZip({}).substr(0, 3));
  WriteFile(folder / "junk.zip", "junk" + BuildZip({}));
  for (ZipHeaderCheck check : {ZipHeaderCheck::kLocalHeaders, ZipHeaderCheck::kBothHeaders}) {
    Texts seen;
    for (const char* name : {"bare.zip", "cut.zip", "junk.zip"}) {
      ZipEntryList list{ZipEntry{}};
      ZipProblem problem{ZipFault::kBadEndRecord, "stale"};
      bool read = ReadZipDirectory(RealFileSystem(), folder / name, list, true, &problem, check);
      seen.push_back((read ? "read " : "") + std::to_string(list.size()) + " " + Describe(problem));
    }
    EXPECT_EQ(seen, (Texts{"read 0 none ", "0 local " + folder / "cut.zip",
                           "0 local " + folder / "junk.zip"}));
  }
}

// A member added to an empty zip makes a zip of that one member, written
// whole beside it and renamed over it; a write that fails leaves the empty
// zip byte for byte, with nothing beside it.
TEST_F(EmptyZipTest, TakesAMemberAllOrNothing) {
  const std::string empty = BuildZip({});
  WriteFile(folder / "src/a.rom", "alpha");
  ZipLibrary library;
  ZipChanges changes;
  changes.additions.push_back({folder / "src/a.rom", "a.rom"});

  WriteFile(folder / "set.zip", empty);
  testing::FaultyFileSystem fullDisk;
  fullDisk.FillDiskAfter(10);
  EXPECT_FALSE(ZipUpdate(fullDisk, library, folder / "set.zip", changes));
  EXPECT_EQ(ReadFile(folder / "set.zip"), empty);
  EXPECT_EQ(ListFolder(folder.path()).size(), 2u);  // src/ and set.zip

  ASSERT_TRUE(ZipUpdate(RealFileSystem(), library, folder / "set.zip", changes));
  EXPECT_EQ(ReadBack(folder / "set.zip"), (Texts{"a.rom=alpha/8"}));
  EXPECT_EQ(ListFolder(folder.path()).size(), 2u);
}

}  // namespace
}  // namespace kestrel
