// A rebuild that cannot keep its logfile or make its work folder refuses to
// start and touches nothing; what an interrupted run left is cleared only
// when it is certainly ours.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "rebuilder/rebuild_fixture.h"

namespace kestrel::testing {
namespace {

using Texts = std::vector<std::string>;

TEST_F(RebuildTest, RefusesToStartWithoutItsLogfileOrWorkFolderAndTouchesNothing) {
  AddGame("g", {{"r1", "contents of r1"}});
  Load();
  settings.rebuildRemoveSources = true;
  WriteFile(source + "x", "contents of r1");
  struct Case {
    std::string logfile, tempFolder;
    bool refused;
    Texts messages;
  } cases[] = {
      {root / "no such folder/rebuild.log", root / "temp/", true, {"Can't log rebuilding-process !"}},
      {logfile, root / "no such temp/", true, {"Can't Access '" + root / "no such temp/'"}},
      {"", root / "temp/", false, {}},  // a logfile asked for without a name: none is written
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logfile + " / " + c.tempFolder);
    settings.rebuildLogfile = c.logfile;
    settings.tempFolder = c.tempFolder;
    ui.messages.clear();
    RebuildOutcome outcome = Rebuild();
    EXPECT_EQ(outcome.refused, c.refused);
    EXPECT_EQ(outcome.completed, !c.refused);
    EXPECT_EQ(ui.MessageTexts(), c.messages);
    EXPECT_EQ(Tree(destination), (c.refused ? Files{} : Files{{"g.zip:r1", "contents of r1"}}));
    EXPECT_EQ(FileExists(source + "x"), c.refused);
  }
  EXPECT_FALSE(std::filesystem::exists(logfile));
}

TEST_F(RebuildTest, KeepsLookAlikesOfWhatAnInterruptedRunLeaves) {
  AddGame("g", {{"r1", "contents of r1"}});
  Load();
  WriteFile(source + "x", "contents of r1");
  // Left by a process that no longer runs: cleared.
  WriteFile(destination + ".kestrel-4194305-0.tmp", "an unfinished copy");
  WriteFile(root / "temp/kestrel-rebuild-4194306/member", "an extracted member");
  // Not ours, or not certainly: kept.
  WriteFile(root / "temp/kestrel-rebuild-4194307/member", "beside a folder of the user's");
  WriteFile(root / "temp/kestrel-rebuild-4194307/mine/notes", "a folder of the user's");
  WriteFile(destination + ".kestrel-99999999999-0.tmp", "a number no process has");
  std::filesystem::create_directories(destination + "h/.kestrel-4194305-1.tmp");  // a folder, not a copy
  WriteFile(destination + ".kestrel--0.tmp", "no number");
  RebuildOutcome outcome = Rebuild();
  std::vector<std::string> cleared;
  for (const RebuildLeftover& leftover : outcome.leftovers) cleared.push_back(leftover.path);
  EXPECT_EQ(cleared, (Texts{root / "temp/kestrel-rebuild-4194306/", destination + ".kestrel-4194305-0.tmp"}));
  EXPECT_EQ(Tree(destination), (Files{{".kestrel--0.tmp", "no number"},
                                      {".kestrel-99999999999-0.tmp", "a number no process has"},
                                      {"g.zip:r1", "contents of r1"}}));
  EXPECT_TRUE(std::filesystem::is_directory(destination + "h/.kestrel-4194305-1.tmp"));
  EXPECT_EQ(Tree(root / "temp/"), (Files{{"kestrel-rebuild-4194307/member", "beside a folder of the user's"},
                                         {"kestrel-rebuild-4194307/mine/notes", "a folder of the user's"}}));
}

}  // namespace
}  // namespace kestrel::testing
