// Game names from a damaged list that hold a folder part, and family links
// that lead nowhere: the merger never reaches outside a ROM path's sets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "merger/merger_fixture.h"

namespace kestrel::testing {
namespace {

TEST_F(MergerTest, NamesWithAFolderPartAndBrokenLinksLeaveEverythingOutsideTheSetsAlone) {
  AddStandardGames();
  AddGame("sub/pacz", {{"a.1", RomData("a.1")}, {"z.5", RomData("z.5")}}, "pacman");
  AddGame("..", {{"a.2", RomData("a.2")}, {"d.6", RomData("d.6")}, {"../evil", RomData("evil")}}, "pacman");
  for (GameSet& game : database) game.clones.clear();
  Link();
  Game("pacman").clones.push_back({"a link to no game", 999});
  Game("pacman").clones.push_back({"another", -1});
  Game("galaxa").biosIndex = 999;
  WriteSplitCollection();
  WriteFolder(path1 + "sub/", "pacz", {{"z.5", RomData("z.5")}, {"a.1", RomData("a.1")}});
  WriteFolder(path1, "sub", {{"pacz.zip", "not a zip"}});
  WriteFolder(path1 + "sub/", "pacz.kpw", {{"notes", "mine"}});
  WriteFolder(root.path(), "roms2", {{"evil", RomData("evil")}});  // beside the stale folder roms2/pacman

  // Merged: the family's ROMs under plain names join the parent's set.
  MergeOutcome outcome = Run();
  EXPECT_EQ(outcome.handled, (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_TRUE(outcome.skipped.empty() && outcome.failed.empty() && outcome.kept.empty());
  Files merged;
  for (const char* rom : {"a.1", "a.2", "f.3", "p.4"}) merged[rom] = RomData(rom);
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"), merged);
  EXPECT_EQ(ZipContents(path1 + "sub/pacz"), (Files{{"z.5", RomData("z.5")}, {"a.1", RomData("a.1")}}));
  EXPECT_EQ(ReadFile(path1 + "sub/pacz.zip"), "not a zip");
  EXPECT_EQ(ZipContents(path1 + "sub/pacz.kpw"), (Files{{"notes", "mine"}}));
  EXPECT_EQ(ReadFile(path2 + "evil"), RomData("evil"));

  // Split: a set that cannot be named in a ROM path skips its family, untouched.
  settings.mergeMode = SetLayout::kSplit;
  Files before = Snapshot();
  outcome = Run();
  EXPECT_EQ(outcome.handled, (std::vector<std::string>{"galaxian"}));
  ASSERT_EQ(outcome.skipped.size(), 1u);
  EXPECT_EQ(outcome.skipped[0].parent, "pacman");
  ExpectUnchangedBut(before, "gala");
}

}  // namespace
}  // namespace kestrel::testing
