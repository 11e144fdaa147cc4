// The merger on real folders and zips in two ROM paths.
#include <gtest/gtest.h>

#include <filesystem>

#include "merger/merger_fixture.h"
#include "platform/file_system.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Parents(const std::vector<SkippedFamily>& families) {
  std::vector<std::string> names;
  for (const SkippedFamily& family : families) names.push_back(family.parent);
  return names;
}

bool HasWorkFolder(const std::vector<std::string>& entries) {
  for (const std::string& entry : entries)
    if (entry.find(".kpw") != std::string::npos) return true;
  return false;
}

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
  settings.mergeCleanSet = false;
  settings.mergeRemoveOld = false;

  Run();

  Files expected = MergedFiles("galaxian");
  expected["readme.txt"] = "keep me";
  EXPECT_EQ(ZipContents(path2 + "galaxian.zip"), SplitFiles("galaxian")) << "found first in path 1";
  EXPECT_EQ(ZipContents(path1 + "galaxian.zip"), expected);
  EXPECT_TRUE(FileExists(path2 + "galaxa.zip"));
  EXPECT_TRUE(FolderExists(path2 + "pacman"));
  EXPECT_FALSE(HasWorkFolder(Entries()));
}

TEST_F(MergerTest, ACloneRomNamedLikeAParentRomIsMergedOnceWithTheParentsContent) {
  AddGame("pacman", {{"a.1", RomData("a.1")}, {"a.2", RomData("a.2")}});
  AddGame("pacmanf", {{"a.1", "the clone's own a.1"}, {"f.3", RomData("f.3")}}, "pacman");
  Link();
  ASSERT_TRUE(Game("pacmanf").roms[0].inParent);
  WriteZip(path1, "pacman", FullFiles("pacman"));
  WriteZip(path2, "pacmanf", {{"a.1", "the clone's own a.1"}, {"f.3", RomData("f.3")}});

  Run();

  // A flat set holds one a.1; the parent's keeps the parent playable, and
  // a split clone takes that name from its parent as well.
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"),
            (Files{{"a.1", RomData("a.1")}, {"a.2", RomData("a.2")}, {"f.3", RomData("f.3")}}));
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
  EXPECT_EQ(ui.progressTexts.front(), "\n\n Merging Gameset:\tgalaxian");

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

TEST_F(MergerTest, ALeftoverWorkFolderSkipsItsFamilyAndKeepsIt) {
  AddStandardGames();
  WriteSplitCollection();
  WriteFile(path1 + "pacman.kpw/a.1", "half copied");
  Files before = Snapshot();

  MergeOutcome merged = Run();
  ASSERT_EQ(merged.skipped.size(), 1u);
  EXPECT_EQ(merged.skipped[0].parent, "pacman");
  EXPECT_EQ(merged.skipped[0].workFolder, path1 + "pacman.kpw/");
  EXPECT_EQ(merged.handled, std::vector<std::string>{"galaxian"});
  Files after = Snapshot();
  for (const auto& [file, bytes] : before)
    if (file.find("gala") == std::string::npos) {
      EXPECT_EQ(after[file], bytes) << file;
    }

  // A clone's leftover skips the family too, and takes nothing else along.
  fs::remove_all(path1 + "pacman.kpw");
  WriteFile(path1 + "puckman.kpw/p.4", "half copied");
  settings.mergeMode = 0;
  MergeOutcome split = Run();
  EXPECT_EQ(Parents(split.skipped), std::vector<std::string>{"pacman"});
  EXPECT_EQ(split.skipped[0].workFolder, path1 + "puckman.kpw/");
  EXPECT_FALSE(FolderExists(path1 + "pacman.kpw"));
  EXPECT_FALSE(FolderExists(path2 + "pacmanf.kpw"));
  EXPECT_EQ(ReadFile(path1 + "puckman.kpw/p.4"), "half copied");
}

TEST_F(MergerTest, NoSelectedParentChangesNothing) {
  AddStandardGames();
  WriteSplitCollection();
  for (GameSet& game : database) game.selected = game.hasParent;
  Files before = Snapshot();

  MergeOutcome outcome = Run();

  EXPECT_TRUE(outcome.started);
  EXPECT_TRUE(outcome.handled.empty());
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(ui.progressTitles.size(), 1u);
  EXPECT_TRUE(ui.progressTexts.empty());
}

// Writes the archive and then reports a failure, as a disk that fills up
// at the very end would, for every set of the pacman family.
bool FailForPacman(ZipLibrary& library, const std::string& archive, const ZipChanges& changes) {
  bool written = ZipUpdate(library, archive, changes);
  return written && archive.find("/pacman") == std::string::npos && archive.find("/puckman") == std::string::npos;
}

TEST_F(MergerTest, AFailureWhileZippingLeavesTheOldSetsByteForByte) {
  AddStandardGames();
  WriteSplitCollection();
  Files before = Snapshot();

  ui.messageAnswers = {kResultNo};
  MergeOutcome outcome = Run(MergeButton::kMerge, FailForPacman);
  EXPECT_EQ(outcome.handled, std::vector<std::string>{"galaxian"});
  EXPECT_EQ(outcome.failed, std::vector<std::string>{"pacman"});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Error While Zipping !\n\nDo You Want To Stop Merging Process ?");
  EXPECT_EQ(ui.messages[0].title, "(Un-)Merging-Error");
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::kYesNo);
  Files after = Snapshot();
  for (const auto& [file, bytes] : before)
    if (file.find("gala") == std::string::npos) {
      EXPECT_EQ(after[file], bytes) << file;
    }
  EXPECT_FALSE(HasWorkFolder(Entries()));

  // Unmerging: the clone sets are written, the parent's fails; none of the
  // family's sets changes. Yes ends the run.
  before = Snapshot();
  ui.messageAnswers = {kResultYes};
  outcome = Run(MergeButton::kUnmerge, FailForPacman);
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(ui.messages.size(), 2u);
  after = Snapshot();
  for (const auto& [file, bytes] : before)
    if (file.find("gala") == std::string::npos) {
      EXPECT_EQ(after[file], bytes) << file;
    }
  EXPECT_FALSE(HasWorkFolder(Entries()));
}

TEST_F(MergerTest, RefusesToStartWithoutRomPathsOrDestination) {
  AddStandardGames();
  settings.activeRomPaths.clear();
  settings.activeRomPathCount = 0;
  EXPECT_FALSE(Run().started);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "No ROM-Paths Available.");
  EXPECT_EQ(ui.messages[0].title, "Path Error");

  settings.activeRomPaths = {path1};
  settings.mergePlacement = 1;
  settings.mergeDestination = root / "nowhere";
  EXPECT_FALSE(Run().started);
  EXPECT_EQ(ui.messages.back().text, "Can't Access '" + root / "nowhere/'");
  EXPECT_EQ(settings.mergeDestination, "");
  EXPECT_TRUE(ui.progressTitles.empty());
}

TEST_F(MergerTest, ACancelEndsTheRunAfterTheCurrentFamily) {
  AddStandardGames();
  WriteSplitCollection();
  ui.cancelAtCheck = 1;
  MergeOutcome outcome = Run();
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.handled, std::vector<std::string>{"galaxian"});
  EXPECT_TRUE(FileExists(path2 + "pacmanf.zip"));
}

}  // namespace
}  // namespace kestrel::testing
