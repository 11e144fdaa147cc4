// The merger on real folders and zips in two ROM paths.
#include <gtest/gtest.h>

#include <filesystem>

#include "merger/merger_fixture.h"
#include "platform/file_system.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

bool HasWorkFolder(const std::vector<std::string>& entries) {
  for (const std::string& entry : entries)
    if (entry.find(".kpw") != std::string::npos) return true;
  return false;
}

class MergerRunTest : public MergerTest {
 protected:
  void ExpectOnlyGalaxianChanged(const Files& before) {
    Files after = Snapshot();
    for (const auto& [file, bytes] : before)
      if (file.find("gala") == std::string::npos) { EXPECT_EQ(after[file], bytes) << file; }
  }
};

TEST_F(MergerTest, MergesSplitZipsIntoOneZipPerFamilyAndRemovesTheOldSets) {
  AddStandardGames();
  WriteSplitCollection();
  Files single = ZipContents(path1 + "single.zip");
  MergeOutcome outcome = Run();
  EXPECT_TRUE(outcome.started);
  EXPECT_EQ(outcome.handled, (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_TRUE(outcome.skipped.empty() && outcome.failed.empty() && !outcome.stopped);
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"), MergedFiles("pacman"));
  EXPECT_EQ(ZipContents(path2 + "galaxian.zip"), MergedFiles("galaxian"));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"roms1", "roms1/pacman.zip", "roms1/single.zip", "roms2",
                                                 "roms2/galaxian.zip"}));
  EXPECT_EQ(ZipContents(path1 + "single.zip"), single);
  EXPECT_EQ(ui.progressTitles, std::vector<std::string>{"Merging ROMs"});
  EXPECT_EQ(ui.progressTexts, (std::vector<std::string>{"\n\n Merging Gameset:\tgalaxian",
                                                        "\n\n Merging Gameset:\tpacman"}));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MergerTest, WithoutCleanSetOrRemoveOldOtherFilesAndOldSetsStay) {
  AddStandardGames();
  WriteSplitCollection();
  // An old merged zip with a file of no ROM and a stale copy of a ROM,
  // which the copy in the later path replaces.
  WriteZip(path1, "galaxian", {{"readme.txt", "keep me"}, {"g.1", "stale"}});
  WriteFolder(path1, "galaxian", {{"notes.txt", "keep me too"}});
  settings.mergeCleanSet = false;
  settings.mergeRemoveOld = false;
  Run();
  Files expected = MergedFiles("galaxian");
  expected["readme.txt"] = "keep me";
  EXPECT_EQ(ZipContents(path2 + "galaxian.zip"), SplitFiles("galaxian")) << "found first in path 1";
  EXPECT_EQ(ZipContents(path1 + "galaxian.zip"), expected);
  EXPECT_EQ(ReadFile(path1 + "galaxian/notes.txt"), "keep me too");
  EXPECT_TRUE(FileExists(path2 + "galaxa.zip"));
  EXPECT_TRUE(FolderExists(path2 + "pacman"));
  EXPECT_FALSE(HasWorkFolder(Entries()));
}

// One set cannot hold two contents under one name: the clone's own a.1
// stays in the clone's set through a merge and back.
TEST_F(MergerTest, ACloneRomNamedLikeAnotherParentRomKeepsTheClonesSet) {
  AddGame("pacman", {{"a.1", RomData("a.1")}, {"a.2", RomData("a.2")}});
  // f.2 is the parent's a.2 under another name, as its merge name tells.
  AddGame("pacmanf", {{"a.1", "the clone's own a.1"}, {"f.2", RomData("a.2")}, {"f.3", RomData("f.3")}}, "pacman");
  Link();
  Game("pacmanf").roms[1].merge = "a.2";
  ASSERT_FALSE(Game("pacmanf").roms[0].inParent);
  const Files ownA1 = {{"a.1", "the clone's own a.1"}};
  Files splitClone = ownA1;
  splitClone["f.3"] = RomData("f.3");
  WriteZip(path1, "pacman", SplitFiles("pacman"));
  WriteZip(path2, "pacmanf", splitClone);
  Run();
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"),
            (Files{{"a.1", RomData("a.1")}, {"a.2", RomData("a.2")}, {"f.3", RomData("f.3")}}));
  EXPECT_EQ(ZipContents(path2 + "pacmanf.zip"), ownA1);

  // Split again, the clone's set takes f.2 from the parent's a.2.
  settings.mergeMode = 0;
  Run();
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"), SplitFiles("pacman"));
  splitClone["f.2"] = RomData("a.2");
  EXPECT_EQ(ZipContents(path2 + "pacmanf.zip"), splitClone);
}

TEST_F(MergerTest, SplitAndUnmergeFromMergedSets) {
  AddStandardGames();
  WriteZip(path2, "pacman", MergedFiles("pacman"));
  WriteZip(path2, "galaxian", MergedFiles("galaxian"));

  // Split into folders: the clone sets, found nowhere, go to the first path.
  settings.mergeMode = 0;
  settings.mergeZip = false;
  MergeOutcome split = Run();
  EXPECT_EQ(split.handled, (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_EQ(FolderContents(path2 + "pacman"), SplitFiles("pacman"));
  EXPECT_EQ(FolderContents(path1 + "pacmanf"), SplitFiles("pacmanf"));
  EXPECT_EQ(FolderContents(path1 + "puckman"), SplitFiles("puckman"));
  EXPECT_EQ(FolderContents(path1 + "galaxa"), SplitFiles("galaxa"));
  EXPECT_FALSE(FileExists(path2 + "pacman.zip")) << "Clean Set replaces the zip by the folder";

  // Back to a merged zip, then unmerged into zips where each set is.
  fs::remove_all(path1);
  fs::remove_all(path2);
  fs::create_directories(path1);
  fs::create_directories(path2);
  WriteZip(path2, "pacman", MergedFiles("pacman"));
  WriteFolder(path2, "puckman", {{"junk", "x"}});
  settings.mergeZip = true;
  MergeOutcome unmerged = Run(MergeButton::kUnmerge);
  EXPECT_EQ(unmerged.handled, (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_EQ(ZipContents(path2 + "pacman.zip"), FullFiles("pacman"));
  EXPECT_EQ(ZipContents(path1 + "pacmanf.zip"), FullFiles("pacmanf"));
  EXPECT_EQ(ZipContents(path2 + "puckman.zip"), FullFiles("puckman")) << "where the old set was";
  EXPECT_FALSE(FolderExists(path2 + "puckman"));
  EXPECT_EQ(ui.progressTitles.back(), "Unmerging ROMs");
  EXPECT_EQ(ui.progressTexts.back(), "\n\n Unmerging Gameset:\tpacman");
}

TEST_F(MergerTest, PlacesNewSetsWhereTheOldOnesAreOrInTheDestination) {
  AddStandardGames();
  WriteFolder(path2, "pacman", FullFiles("pacman"));
  WriteZip(path2, "pacmanf", SplitFiles("pacmanf"));
  settings.mergeMode = 0;
  Run();
  EXPECT_EQ(ZipContents(path2 + "pacman.zip"), FullFiles("pacman"));
  EXPECT_EQ(ZipContents(path2 + "pacmanf.zip"), SplitFiles("pacmanf"));
  EXPECT_FALSE(FileExists(path1 + "puckman.zip")) << "no file of it anywhere";

  WriteZip(path1, "puckman", SplitFiles("puckman"));
  std::string destination = root / "merged";
  fs::create_directories(destination);
  settings.mergeMode = 1;
  settings.mergePlacement = 1;
  settings.mergeDestination = destination;
  Run();
  EXPECT_EQ(settings.mergeDestination, destination + "/");
  EXPECT_EQ(ZipContents(destination + "/pacman.zip"), MergedFiles("pacman"));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"merged", "merged/pacman.zip", "roms1", "roms2"}));
}

TEST_F(MergerRunTest, ALeftoverWorkFolderSkipsItsFamilyAndKeepsIt) {
  AddStandardGames();
  WriteSplitCollection();
  WriteFile(path1 + "pacman.kpw/a.1", "half copied");
  Files before = Snapshot();
  MergeOutcome merged = Run();
  ASSERT_EQ(merged.skipped.size(), 1u);
  EXPECT_EQ(merged.skipped[0].parent, "pacman");
  EXPECT_EQ(merged.skipped[0].workFolder, path1 + "pacman.kpw/");
  EXPECT_EQ(merged.handled, std::vector<std::string>{"galaxian"});
  ExpectOnlyGalaxianChanged(before);

}

// Writes the archive and then reports a failure, as a disk that fills up
// at the very end would, for every set of the pacman family.
bool FailForPacman(ZipLibrary& library, const std::string& archive, const ZipChanges& changes) {
  bool written = ZipUpdate(library, archive, changes);
  return written && archive.find("/pacman") == std::string::npos && archive.find("/puckman") == std::string::npos;
}

TEST_F(MergerRunTest, AFailureWhileZippingLeavesTheOldSetsByteForByte) {
  AddStandardGames();
  WriteSplitCollection();
  Files before = Snapshot();
  ui.messageAnswers = {kResultNo};
  MergeOutcome outcome = Run(MergeButton::kMerge, FailForPacman);
  EXPECT_EQ(outcome.handled, std::vector<std::string>{"galaxian"});
  EXPECT_EQ(outcome.failed, std::vector<std::string>{"pacman"});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Error While Zipping !\n\nDo You Want To Stop Merging Process ?");
  ExpectOnlyGalaxianChanged(before);
  EXPECT_FALSE(HasWorkFolder(Entries()));

  // Unmerging: the clone sets are written, the parent's fails; none of the
  // family's sets changes. Yes ends the run.
  before = Snapshot();
  ui.messageAnswers = {kResultYes};
  outcome = Run(MergeButton::kUnmerge, FailForPacman);
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(ui.messages.size(), 2u);
  ExpectOnlyGalaxianChanged(before);
  EXPECT_FALSE(HasWorkFolder(Entries()));
}

TEST_F(MergerTest, RefusesToStartWithoutRomPathsOrDestination) {
  AddStandardGames();
  settings.activeRomPaths.clear();
  settings.activeRomPathCount = 0;
  EXPECT_FALSE(Run().started);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "No ROM-Paths Available.");

  settings.activeRomPaths = {path1};
  settings.mergePlacement = 1;
  settings.mergeDestination = root / "nowhere";
  EXPECT_FALSE(Run().started);
  EXPECT_EQ(ui.messages.back().text, "Can't Access '" + root / "nowhere/'");
  EXPECT_EQ(settings.mergeDestination, "");
  EXPECT_TRUE(ui.progressTitles.empty());
}

}  // namespace
}  // namespace kestrel::testing
