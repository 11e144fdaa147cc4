// The merger takes nothing away that is not kept elsewhere: in a new set,
// in a set no run changes, or in a backup zip. Files that do not belong,
// unreadable zips and what an interrupted run left behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "merger/merger_fixture.h"
#include "platform/file_system.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

const char kNotAZip[] = "PK but not a zip at all";

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
  ExpectUnchangedBut(before, "gala");

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
  EXPECT_EQ(ZipContents(path2 + "galaxian"), galaxian);
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
