// A merge over sets spelled in another case and a stale set folder that
// holds a folder of the user's own, then a split into a destination folder
// named without its trailing '/'.
#include <gtest/gtest.h>

#include <filesystem>

#include "merger/merger_fixture.h"

namespace kestrel::testing {
namespace {

TEST_F(MergerTest, ANewSetTakesItsListedNameAndAFolderInsideAStaleSetFolderKeepsIt) {
  auto entries = [this] {
    std::vector<std::string> paths;
    for (const auto& [path, bytes] : Snapshot()) paths.push_back(path);
    return paths;
  };
  AddStandardGames();
  WriteSplitCollection();
  std::filesystem::rename(path2 + "galaxian.zip", path2 + "GALAXIAN.zip");
  WriteFolder(path2 + "pacman/", "extras", {{"notes.txt", "mine"}});
  MergeOutcome outcome = Run();
  EXPECT_EQ(outcome.handled, (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_TRUE(outcome.skipped.empty() && outcome.failed.empty() && outcome.kept.empty());
  EXPECT_EQ(ZipContents(path2 + "galaxian.zip"), MergedFiles("galaxian"));
  EXPECT_EQ(entries(), (std::vector<std::string>{"roms1", "roms1/pacman.zip", "roms1/single.zip", "roms2",
                                                 "roms2/galaxian.zip", "roms2/pacman", "roms2/pacman/extras",
                                                 "roms2/pacman/extras/notes.txt"}));
  // Split again into a destination where an interrupted run left a work folder.
  std::filesystem::create_directories(root / "dest/galaxa.kpw");
  settings.mergePlacement = MergePlacement::kIntoDestination;
  settings.mergeDestination = root / "dest";
  settings.mergeMode = SetLayout::kSplit;
  outcome = Run();
  EXPECT_EQ(outcome.cleanedLeftovers, (std::vector<std::string>{root / "dest/galaxa.kpw/"}));
  EXPECT_EQ(entries(), (std::vector<std::string>{"dest", "dest/galaxa.zip", "dest/galaxian.zip", "dest/pacman.zip",
                                                 "dest/pacmanf.zip", "dest/puckman.zip", "roms1", "roms1/single.zip",
                                                 "roms2", "roms2/pacman", "roms2/pacman/extras",
                                                 "roms2/pacman/extras/notes.txt"}));
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace kestrel::testing
