// A set the destination holds under another spelling that cannot be
// renamed to the listed one: nothing goes into it, and the source stays.
#include <gtest/gtest.h>

#include "rebuilder/rebuild_fixture.h"
#include "support/faulty_file_system.h"

namespace kestrel::testing {
namespace {

TEST_F(RebuildTest, WritesNothingIntoASetThatKeepsAnotherSpelling) {
  const std::string kA = "contents of a", kB = "contents of b";
  AddGame("g", {{"r1", kA}, {"r2", kB}});
  Load();
  settings.rebuildRemoveSources = true;
  for (bool zip : {false, true}) {
    SCOPED_TRACE(zip ? "zip destination" : "folder destination");
    settings.rebuildZip = zip;
    ClearDestination();
    WriteFile(source + "b.bin", kB);
    if (zip) WriteZip(destination + "G.ZIP", {{"r1", kA}});
    if (!zip) WriteFile(destination + "G/r1", kA);
    const Files before = Tree(destination);
    FaultyFileSystem disk;
    disk.Fail({FileOperation::kRename, destination + "G*"});
    RebuildOutcome outcome = Rebuild(disk);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].path, destination + (zip ? "g.zip" : "g"));
    EXPECT_EQ(Tree(destination), before);
    EXPECT_EQ(Tree(source), (Files{{"b.bin", kB}}));
  }
}

}  // namespace
}  // namespace kestrel::testing
