// What an undo does where the disk is not as the run left it, and how the
// journal holds up to a stop and to damage.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/file_replacement.h"
#include "support/faulty_file_system.h"
#include "support/temp_folder.h"
#include "undo/journaled_file_system.h"
#include "undo/run_history.h"
#include "undo/undo_run.h"

namespace kestrel::testing {
namespace {

class UndoEdgeTest : public ::testing::Test {
 protected:
  // One run: `change` given the journaled disk, then ended.
  template <typename Change>
  void Run(Change change, FileSystem& disk = RealFileSystem()) {
    JournaledFileSystem journaled(disk, undo, "test");
    change(journaled);
    ASSERT_TRUE(journaled.Finish());
  }
  std::string Journal() { return ReadFile(undo + "1/journal"); }
  UndoOutcome Undo() { return UndoRun(RealFileSystem(), undo + "1/"); }

  TempFolder root;
  std::string undo = root / "data/undo/";
  std::string a = root / "a.bin", b = root / "b.bin";
};

std::vector<std::string> Paths(const std::vector<UndoProblem>& problems) {
  std::vector<std::string> paths;
  for (const UndoProblem& problem : problems) paths.push_back(problem.path);
  return paths;
}

// A file the user changed after the run (rewritten, or made again where
// the run deleted it) is set aside and named; the run's old content
// returns beside it.
TEST_F(UndoEdgeTest, ChangeSinceTheRunIsSetAsideAndNamed) {
  WriteFile(a, "old a");
  WriteFile(b, "old b");
  Run([&](FileSystem& fs) {
    ReplaceFile(fs, a, "run's a");
    fs.DeleteFile(b);
  });
  WriteFile(a, "user's a");
  WriteFile(b, "user's b");
  UndoOutcome outcome = Undo();
  EXPECT_EQ(Paths(outcome.setAside), (std::vector<std::string>{b, a}));
  EXPECT_TRUE(outcome.failures.empty());
  EXPECT_EQ(ReadFile(a), "old a");
  EXPECT_EQ(ReadFile(b), "old b");
  const std::string keptAs = outcome.setAside[1].reason.substr(outcome.setAside[1].reason.find('\'') + 1);
  EXPECT_EQ(ReadFile(keptAs.substr(0, keptAs.size() - 1)), "user's a");
}

// A saved content that no longer has its identity is not put back: the
// failure is named and the place stays empty.
TEST_F(UndoEdgeTest, DamagedSavedContentIsNotPutBack) {
  WriteFile(a, "old a");
  Run([&](FileSystem& fs) { fs.DeleteFile(a); });
  WriteFile(undo + "1/store/1", "old b");
  UndoOutcome outcome = Undo();
  EXPECT_EQ(Paths(outcome.failures), std::vector<std::string>{a});
  EXPECT_FALSE(FileExists(a));
}

// What cannot be read cannot be saved, so the run may not delete or
// replace it; an existing file the run fails to create is not the run's.
TEST_F(UndoEdgeTest, UnsavableOrForeignFilesAreLeftAlone) {
  WriteFile(a, "old a");
  WriteFile(b, "old b");
  FaultyFileSystem unreadable;
  unreadable.Fail({FileOperation::kOpen, a});
  Run(
      [&](FileSystem& fs) {
        EXPECT_FALSE(fs.DeleteFile(a));
        EXPECT_FALSE(ReplaceFile(fs, a, "new"));
        EXPECT_EQ(fs.CreateNewFile(b), nullptr);
        EXPECT_TRUE(fs.CreateFolder(root / "made"));
      },
      unreadable);
  EXPECT_EQ(ReadFile(a), "old a");
  UndoOutcome outcome = Undo();
  EXPECT_TRUE(outcome.failures.empty());
  EXPECT_EQ(ReadFile(b), "old b");
  EXPECT_FALSE(FolderExists(root / "made"));
}

// A rename goes back unless its old name is taken again; a file made
// writable by the run is read-only again; a run still going on is not
// undone.
TEST_F(UndoEdgeTest, RenamesAndReadOnlyGoBack) {
  const std::string c = root / "c.bin";
  WriteFile(a, "a");
  WriteFile(c, "c");
  ::chmod(c.c_str(), 0444);
  Run([&](FileSystem& fs) {
    fs.RenamePath(a, b);
    fs.ClearReadOnly(c);
    fs.RenamePath(c, root / "C.BIN");
  });
  UndoOutcome outcome = Undo();
  EXPECT_TRUE(outcome.failures.empty());
  EXPECT_EQ(ReadFile(a), "a");
  EXPECT_FALSE(FileExists(b));
  EXPECT_TRUE(IsReadOnly(c));

  std::string running;
  {
    JournaledFileSystem second(RealFileSystem(), undo, "test");
    second.RenamePath(a, b);
    running = second.RunFolder();
    EXPECT_TRUE(UndoRun(RealFileSystem(), running).refused);  // the run is still going on
  }
  WriteFile(a, "user's a");
  outcome = UndoRun(RealFileSystem(), running);
  EXPECT_EQ(Paths(outcome.failures), std::vector<std::string>{a});
  EXPECT_EQ(ReadFile(b), "a");
}

// A line cut off by a stop describes nothing that was done; a damaged line
// makes the journal untrusted; a run is undone once.
TEST_F(UndoEdgeTest, JournalSurvivesAStopButNotDamage) {
  WriteFile(a, "old a");
  Run([&](FileSystem& fs) { fs.DeleteFile(a); });
  const std::string whole = Journal();
  std::ofstream(undo + "1/journal", std::ios::binary) << whole << "delete\t" + b;
  ASSERT_TRUE(ReadJournal(undo + "1/journal"));
  EXPECT_EQ(ReadJournal(undo + "1/journal")->entries.size(), 1u);
  EXPECT_EQ(DescribeRun(*ReadJournal(undo + "1/journal")).size(), 1u);

  std::ofstream(undo + "1/journal", std::ios::binary) << whole << "delete\t" + b + "\n";
  EXPECT_TRUE(Undo().refused);
  EXPECT_FALSE(FileExists(a));

  std::ofstream(undo + "1/journal", std::ios::binary) << whole;
  EXPECT_FALSE(Undo().refused);
  EXPECT_EQ(ReadFile(a), "old a");
  EXPECT_TRUE(Undo().refused);
  EXPECT_FALSE(FindRun(undo, ""));
}

}  // namespace
}  // namespace kestrel::testing
