// A rebuild meeting a disk that fails under it: full while the new sets are
// written, or losing a source between the listing and the reading. Every
// original stays where it was and the outcome names what went wrong.
#include <gtest/gtest.h>

#include <string>

#include "rebuilder/rebuild_fixture.h"
#include "rebuilder/rebuild_messages.h"
#include "support/faulty_file_system.h"

namespace kestrel::testing {
namespace {

const std::string kA = "contents of a", kB = "contents of b";

bool NamesFailure(const RebuildOutcome& outcome, const std::string& path, const std::string& reason) {
  for (const RebuildFailure& failure : outcome.failures)
    if (failure.path == path && failure.reason == reason) return true;
  return false;
}

TEST_F(RebuildTest, AFullDiskKeepsTheSourcesAndTheOldSetAndNamesTheSetNotWritten) {
  AddGame("g", {{"r1", kA}, {"r2", kB}});
  Load();
  settings.rebuildRemoveSources = true;
  for (bool zip : {true, false}) {
    SCOPED_TRACE(zip ? "zip destination" : "folder destination");
    settings.rebuildZip = zip;
    ClearDestination();
    if (zip) {
      WriteZip(destination + "g.zip", {{"r1", kA}});
    } else {
      WriteFile(destination + "g/r1", kA);
    }
    WriteFile(source + "x2", kB);
    Files before = Tree(destination);

    FaultyFileSystem fullDisk;
    fullDisk.FillDiskAfter(0);
    RebuildOutcome outcome = Rebuild(fullDisk);

    EXPECT_EQ(Tree(destination), before);
    EXPECT_EQ(ReadFile(source + "x2"), kB);
    std::string target = zip ? destination + "g.zip" : destination + "g/r2";
    EXPECT_TRUE(NamesFailure(outcome, target, rebuild_text::kNotWritten)) << target;
  }
}

TEST_F(RebuildTest, ASourceThatVanishesAfterTheListingIsNamedAndTheOthersArePlaced) {
  AddGame("g", {{"r1", kA}, {"r2", kB}});
  Load();
  settings.rebuildRemoveSources = true;
  WriteFile(source + "x1", kA);
  WriteFile(source + "x2", kB);

  FaultyFileSystem disk;
  disk.Vanish("*/source/x1");
  RebuildOutcome outcome = Rebuild(disk);

  EXPECT_TRUE(NamesFailure(outcome, source + "x1", rebuild_text::kUnreadable));
  EXPECT_EQ(Tree(destination), (Files{{"g.zip:r2", kB}}));
  EXPECT_EQ(ReadFile(source + "x1"), kA);
}

}  // namespace
}  // namespace kestrel::testing
