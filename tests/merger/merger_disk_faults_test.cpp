// What only a failing disk shows: a family whose zip cannot be written or
// read back keeps its old sets byte for byte. Every run seen from the
// command line is a scenario in scenarios/.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "merger/merger_fixture.h"
#include "support/faulty_file_system.h"

namespace kestrel::testing {
namespace {

std::vector<std::string> FailedParents(const MergeOutcome& outcome) {
  std::vector<std::string> parents;
  for (const FailedFamily& failed : outcome.failed) parents.push_back(failed.parent);
  return parents;
}

// A disk that fails under a run: a family whose zip fails keeps every file
// it had and no work folder; it is counted failed with the set and the
// reason named, also when the user chose to stop there. The others go on.
TEST_F(MergerTest, ADiskFaultFailsOnlyTheFamiliesItTouchesAndLeavesTheirOldSetsByteForByte) {
  AddStandardGames();
  WriteSplitCollection();
  const std::string kWhy = ": the disk may be full, or a zip it copies from damaged";
  Files before;
  auto runOn = [&](MergeButton button, const std::vector<Fault>& faults, bool full = false) {
    before = Snapshot();
    FaultyFileSystem disk;
    for (const Fault& fault : faults) disk.Fail(fault);
    if (full) disk.FillDiskAfter(0);
    return Run(button, disk);
  };
  // A full disk fails every family and changes nothing.
  ui.messageAnswers = {kResultNo, kResultNo};
  MergeOutcome outcome = runOn(MergeButton::kMerge, {}, true);
  EXPECT_EQ(FailedParents(outcome), (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_TRUE(outcome.handled.empty());
  EXPECT_EQ(Snapshot(), before);
  ui.messages.clear();

  // The disk fills up at the very end of every zip of the pacman family:
  // the new archive is written but never takes its place.
  const std::vector<Fault> failPacmanCommits = {{FileOperation::kReplace, "*/pacman*"},
                                                {FileOperation::kReplace, "*/puckman*"}};
  ui.messageAnswers = {kResultNo};
  outcome = runOn(MergeButton::kMerge, failPacmanCommits);
  EXPECT_EQ(outcome.handled, std::vector<std::string>{"galaxian"});
  EXPECT_EQ(outcome.failed,
            (std::vector<FailedFamily>{{"pacman", "can't write the new '" + path1 + "pacman.zip'" + kWhy}}));
  EXPECT_EQ(ui.MessageTexts(),
            std::vector<std::string>{"Error While Zipping !\n\nDo You Want To Stop Merging Process ?"});
  ExpectUnchangedBut(before, "gala");
  EXPECT_EQ(ZipContents(path2 + "galaxian.zip"), MergedFiles("galaxian"));

  // Unmerging: the clone sets are written, the parent's fails; none of the
  // family's sets changes. Yes ends the run, the family still counted.
  ui.messageAnswers = {kResultYes};
  outcome = runOn(MergeButton::kUnmerge, failPacmanCommits);
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.failed,
            (std::vector<FailedFamily>{{"pacman", "can't write the new '" + path2 + "pacmanf.zip'" + kWhy}}));
  EXPECT_EQ(ui.messages.size(), 2u);
  ExpectUnchangedBut(before, "gala");

  // A new set is read back before any old one goes, and a clone's zip may
  // list and then fail to read when its members are copied: either fails
  // the family and changes nothing of it.
  for (const Fault& fault : {Fault{FileOperation::kOpen, "*/puckman.zip", 2},
                             Fault{FileOperation::kOpen, "*/pacman.kpw/new.zip"}}) {
    outcome = runOn(MergeButton::kMerge, {fault});
    EXPECT_EQ(FailedParents(outcome), std::vector<std::string>{"pacman"}) << fault.pathPattern;
    ExpectUnchangedBut(before, "gala");
  }
  EXPECT_NE(outcome.failed.at(0).reason.find("does not read back"), std::string::npos) << outcome.failed[0].reason;
}

}  // namespace
}  // namespace kestrel::testing
