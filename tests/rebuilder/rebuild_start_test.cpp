// What the desktop program relies on when a rebuild starts, beyond what the
// command line shows: a refused folder is emptied so that only it is asked
// for again, and a logfile asked for without a name is none.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "rebuilder/rebuild_fixture.h"

namespace kestrel::testing {
namespace {

TEST_F(RebuildTest, ARefusedFolderIsEmptiedAndALogWithoutANameIsNone) {
  AddGame("g", {{"r1", "contents of r1"}});
  Load();
  settings.rebuildDestination = source + "out/";
  std::filesystem::create_directories(settings.rebuildDestination);
  EXPECT_TRUE(Rebuild().refused);
  EXPECT_EQ(settings.rebuildSource + "|" + settings.rebuildDestination, source + "|");
  settings.rebuildSource = root / "gone/";
  settings.rebuildDestination = destination;
  EXPECT_TRUE(Rebuild().refused);
  EXPECT_EQ(settings.rebuildSource + "|" + settings.rebuildDestination, "|" + destination);

  settings.rebuildSource = source;
  settings.rebuildLogfile = "";
  WriteFile(source + "x", "contents of r1");
  ui.messages.clear();
  EXPECT_TRUE(Rebuild().completed);
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{});
  EXPECT_EQ(Tree(destination), (Files{{"g.zip:r1", "contents of r1"}}));
}

}  // namespace
}  // namespace kestrel::testing
