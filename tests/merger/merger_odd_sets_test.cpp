// A merge over sets spelled in another case and a stale set folder that
// holds a folder of the user's own.
#include <gtest/gtest.h>

#include <filesystem>

#include "merger/merger_fixture.h"

namespace kestrel::testing {
namespace {

TEST_F(MergerTest, ANewSetTakesItsListedNameAndAFolderInsideAStaleSetFolderKeepsIt) {
  AddStandardGames();
  WriteSplitCollection();
  std::filesystem::rename(path2 + "galaxian.zip", path2 + "GALAXIAN.zip");
  WriteFolder(path2 + "pacman/", "extras", {{"notes.txt", "mine"}});
  MergeOutcome outcome = Run();
  EXPECT_EQ(outcome.handled, (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_TRUE(outcome.skipped.empty() && outcome.failed.empty() && outcome.kept.empty());
  EXPECT_EQ(ZipContents(path2 + "galaxian.zip"), MergedFiles("galaxian"));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"roms1", "roms1/pacman.zip", "roms1/single.zip", "roms2",
                                                 "roms2/galaxian.zip", "roms2/pacman", "roms2/pacman/extras",
                                                 "roms2/pacman/extras/notes.txt"}));
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace kestrel::testing
