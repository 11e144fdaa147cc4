// The merger takes nothing away that is not kept elsewhere: in a new set,
// in a set no run changes, or in a backup zip. Families with name clashes,
// folder sets, files that do not belong, unreadable zips and what an
// interrupted run left behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "merger/merger_fixture.h"
#include "platform/file_system.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

const char kNotAZip[] = "PK but not a zip at all";

// pacman (a.1, a.2) with clones pacmanf, whose a.1 is a content of its own
// of the same size, and puckman after it.
class ClashingFamilyTest : public MergerTest {
 protected:
  void SetUp() override {
    AddGame("pacman", {{"a.1", RomData("a.1")}, {"a.2", RomData("a.2")}});
    AddGame("pacmanf", {{"a.1", ownA1}, {"a.2", RomData("a.2")}, {"f.3", RomData("f.3")}}, "pacman");
    AddGame("puckman", {{"a.2", RomData("a.2")}, {"p.4", RomData("p.4")}}, "pacman");
    Link();
    ASSERT_FALSE(Game("pacmanf").roms[0].inParent);
  }
  const std::string ownA1 = "X" + RomData("a.1").substr(1);
  const Files parentSet = {{"a.1", RomData("a.1")}, {"a.2", RomData("a.2")}};
  const Files mergedSet = {
      {"a.1", RomData("a.1")}, {"a.2", RomData("a.2")}, {"f.3", RomData("f.3")}, {"p.4", RomData("p.4")}};
  const Files splitClone = {{"a.1", ownA1}, {"f.3", RomData("f.3")}};
  const Files fullClone = {{"a.1", ownA1}, {"a.2", RomData("a.2")}, {"f.3", RomData("f.3")}};
};

// Every layout is made from the one before with Clean Set and Remove Old,
// and each content of the family is somewhere at every stage.
TEST_F(ClashingFamilyTest, ARoundTripThroughEveryLayoutKeepsEveryContent) {
  WriteZip(path1, "pacman", parentSet);
  WriteZip(path2, "pacmanf", splitClone);
  WriteZip(path1, "puckman", {{"p.4", RomData("p.4")}});
  MergeOutcome outcome = Run();
  EXPECT_EQ(outcome.handled, std::vector<std::string>{"pacman"});
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"), mergedSet) << "puckman comes after a clone keeping its set";
  EXPECT_EQ(ZipContents(path2 + "pacmanf.zip"), (Files{{"a.1", ownA1}}));
  EXPECT_FALSE(FileExists(path1 + "puckman.zip"));

  settings.mergeMode = SetLayout::kSplit;
  Run();
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"), parentSet);
  EXPECT_EQ(ZipContents(path2 + "pacmanf.zip"), splitClone);
  EXPECT_EQ(ZipContents(path1 + "puckman.zip"), (Files{{"p.4", RomData("p.4")}}));

  Run(MergeButton::kUnmerge);
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"), parentSet);
  EXPECT_EQ(ZipContents(path2 + "pacmanf.zip"), fullClone);
  EXPECT_EQ(ZipContents(path1 + "puckman.zip"), (Files{{"a.2", RomData("a.2")}, {"p.4", RomData("p.4")}}));

  settings.mergeMode = SetLayout::kMerged;
  outcome = Run();
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"), mergedSet);
  EXPECT_EQ(ZipContents(path2 + "pacmanf.zip"), (Files{{"a.1", ownA1}}));
  EXPECT_TRUE(outcome.failed.empty() && outcome.kept.empty());
  EXPECT_FALSE(FolderExists(backupFolder)) << "nothing needed a backup";
}

// Loose files of the same name and size are told apart by their content.
TEST_F(ClashingFamilyTest, FolderSetsKeepTheParentsAndTheClonesOwnContentApart) {
  settings.mergeZip = false;
  WriteFolder(path1, "pacman", parentSet);
  WriteFolder(path2, "pacmanf", splitClone);
  WriteFolder(path1, "puckman", {{"p.4", RomData("p.4")}});
  Run();
  EXPECT_EQ(FolderContents(path1 + "pacman"), mergedSet);
  EXPECT_EQ(FolderContents(path2 + "pacmanf"), (Files{{"a.1", ownA1}}));

  Run(MergeButton::kUnmerge);
  EXPECT_EQ(FolderContents(path1 + "pacman"), parentSet);
  EXPECT_EQ(FolderContents(path2 + "pacmanf"), fullClone);
  EXPECT_EQ(FolderContents(path1 + "puckman"), (Files{{"a.2", RomData("a.2")}, {"p.4", RomData("p.4")}}));
  settings.mergeMode = SetLayout::kSplit;
  Run();
  EXPECT_EQ(FolderContents(path1 + "pacman"), parentSet);
  EXPECT_EQ(FolderContents(path2 + "pacmanf"), splitClone);
  EXPECT_FALSE(FolderExists(backupFolder));
}

// Clean Set drops a file that belongs to no game only once a backup zip
// holds it; without a backup folder the family is left as it was.
TEST_F(MergerTest, CleanSetBacksUpWhatBelongsToNoGameOrFailsTheFamily) {
  AddStandardGames();
  WriteSplitCollection();
  Files pacman = SplitFiles("pacman");
  pacman["readme.txt"] = "my notes";
  WriteZip(path1, "pacman", pacman);
  settings.backupFolder = "";
  Files before = Snapshot();
  MergeOutcome outcome = Run();
  ASSERT_EQ(outcome.failed.size(), 1u);
  EXPECT_EQ(outcome.failed[0].parent, "pacman");
  EXPECT_EQ(outcome.failed[0].reason,
            "'readme.txt' in '" + path1 + "pacman.zip' is in no new set, and no backup folder is set");
  for (const auto& [file, bytes] : before)
    if (file.find("gala") == std::string::npos) {
      EXPECT_EQ(Snapshot()[file], bytes) << file;
    }

  // The backup option off does not let a file go unkept: it is backed up all the same.
  settings.backupFolder = backupFolder;
  settings.makeBackups = false;
  outcome = Run();
  EXPECT_EQ(outcome.handled, (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"), MergedFiles("pacman"));
  EXPECT_EQ(Backup("pacman"), (Files{{"readme.txt", "my notes"}}));

  // Without Clean Set a folder set takes the new files one by one; the old
  // file a new one replaces is backed up first.
  settings.mergeZip = false;
  settings.mergeCleanSet = false;
  WriteFolder(path2, "galaxian", {{"g.1", "stale"}, {"notes.txt", "mine"}});
  Run();
  Files galaxian = MergedFiles("galaxian");
  galaxian["notes.txt"] = "mine";
  EXPECT_EQ(FolderContents(path2 + "galaxian"), galaxian);
  EXPECT_EQ(Backup("galaxian"), (Files{{"g.1", "stale"}}));
}

// A zip that cannot be read is never deleted: Remove Old leaves it, and a
// new set takes its place only once it is whole in the backup folder.
TEST_F(MergerTest, AZipThatCannotBeReadIsLeftOrMovedWholeIntoTheBackupFolder) {
  AddStandardGames();
  WriteSplitCollection();
  WriteFile(path1 + "galaxa.zip", kNotAZip);
  settings.mergeCleanSet = false;
  MergeOutcome outcome = Run();
  EXPECT_EQ(outcome.handled, (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_EQ(ReadFile(path1 + "galaxa.zip"), kNotAZip);
  EXPECT_FALSE(FileExists(path2 + "galaxa.zip")) << "read, and in the merged set";
  EXPECT_EQ(outcome.kept, (std::vector<KeptFile>{{path1 + "galaxa.zip", "can't be read: left in place"}}));

  // The old set a new set would replace with Clean Set.
  settings.mergeCleanSet = true;
  fs::remove(path1 + "galaxa.zip");
  WriteFile(path2 + "galaxian.zip", kNotAZip);
  WriteZip(path2, "galaxa", SplitFiles("galaxa"));
  settings.backupFolder = "";
  outcome = Run();
  EXPECT_EQ(ReadFile(path2 + "galaxian.zip"), kNotAZip);
  ASSERT_EQ(outcome.failed.size(), 1u);
  EXPECT_EQ(outcome.failed[0].reason,
            "'" + path2 + "galaxian.zip', which can't be read, is in no new set, and no backup folder is set");

  settings.backupFolder = backupFolder;
  outcome = Run();
  EXPECT_EQ(outcome.handled, (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_EQ(ZipContents(path2 + "galaxian.zip"), SplitFiles("galaxa"));
  EXPECT_EQ(ReadFile(backupFolder + "galaxian.zip"), kNotAZip);
  EXPECT_EQ(outcome.kept, (std::vector<KeptFile>{{path2 + "galaxian.zip",
                                                  "can't be read: moved into '" + backupFolder + "galaxian.zip'"}}));
}

// Without Clean Set or Remove Old (the command line's defaults) a merge
// only adds: every old file stays byte for byte beside the merged zips.
// Merging merged zips again with Clean Set changes nothing.
TEST_F(MergerTest, APlainMergeOnlyAddsAndASecondMergeChangesNothing) {
  AddStandardGames();
  WriteSplitCollection();
  settings.mergeCleanSet = false;
  settings.mergeRemoveOld = false;
  Files before = Snapshot();
  MergeOutcome outcome = Run();
  EXPECT_EQ(outcome.handled, (std::vector<std::string>{"galaxian", "pacman"}));
  Files after = Snapshot();
  for (const auto& [file, bytes] : before)
    if (file != "roms1/pacman.zip" && file != "roms2/galaxian.zip") {
      EXPECT_EQ(after[file], bytes) << file;
    }
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"), MergedFiles("pacman"));
  EXPECT_EQ(ZipContents(path2 + "galaxian.zip"), MergedFiles("galaxian"));

  settings.mergeCleanSet = true;
  settings.mergeRemoveOld = true;
  Run();
  before = Snapshot();
  outcome = Run();
  EXPECT_EQ(outcome.handled, (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_TRUE(outcome.failed.empty() && outcome.kept.empty());
  EXPECT_EQ(Entries(),
            (std::vector<std::string>{"roms1", "roms1/pacman.zip", "roms1/single.zip", "roms2", "roms2/galaxian.zip"}));
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"), MergedFiles("pacman"));
  EXPECT_FALSE(FolderExists(backupFolder));
}

// What a run that was killed left is cleaned up by the next run and
// reported: copies are removed, an old set moved aside by an earlier
// version goes back, or into a backup zip when a set took its place.
TEST_F(MergerTest, ALeftoverWorkFolderIsCleanedUpWithoutLosingAnything) {
  AddStandardGames();
  WriteSplitCollection();
  WriteFile(path1 + "pacman.kpw/new.zip", "half writ");
  WriteFile(path1 + "pacman.kpw/set/a.1", "half copied");
  fs::create_directories(path2 + "galaxian.kpw");
  fs::rename(path2 + "galaxian.zip", path2 + "galaxian.kpw/old.zip");
  MergeOutcome outcome = Run();
  EXPECT_EQ(outcome.handled, (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_EQ(outcome.cleanedLeftovers, (std::vector<std::string>{path2 + "galaxian.kpw/", path1 + "pacman.kpw/"}));
  EXPECT_EQ(ZipContents(path2 + "galaxian.zip"), MergedFiles("galaxian"));
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"), MergedFiles("pacman"));

  // The set in place lacks what the old one held: it goes into a backup.
  WriteZip(root.path(), "old", {{"a.1", RomData("a.1")}, {"only.here", "unique"}});
  fs::create_directories(path1 + "pacman.kpw");
  fs::rename(root / "old.zip", path1 + "pacman.kpw/old.zip");
  settings.backupFolder = "";
  Files before = Snapshot();
  outcome = Run();
  EXPECT_TRUE(outcome.cleanedLeftovers.empty());
  ASSERT_EQ(outcome.skipped.size(), 1u);
  EXPECT_EQ(outcome.skipped[0].workFolder, path1 + "pacman.kpw/");
  EXPECT_EQ(Snapshot()["roms1/pacman.kpw/old.zip"], before["roms1/pacman.kpw/old.zip"]);

  settings.backupFolder = backupFolder;
  outcome = Run();
  EXPECT_EQ(outcome.cleanedLeftovers, std::vector<std::string>{path1 + "pacman.kpw/"});
  EXPECT_EQ(Backup("pacman"), (Files{{"only.here", "unique"}}));
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"), MergedFiles("pacman"));
}

}  // namespace
}  // namespace kestrel::testing
