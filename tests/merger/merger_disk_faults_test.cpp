// A merge meeting a disk that fails under it. Only the family the fault
// touches fails; its old sets stay byte for byte, and the others go on.
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

// Whether every file of the snapshot whose path holds one of `names` is as
// it was, and nothing new holds one.
void ExpectUnchanged(const Files& before, const Files& after, const std::vector<std::string>& names) {
  auto concerned = [&names](const std::string& path) {
    for (const std::string& name : names)
      if (path.find(name) != std::string::npos) return true;
    return false;
  };
  for (const auto& [path, bytes] : before) {
    if (!concerned(path)) continue;
    EXPECT_EQ(after.count(path) ? after.at(path) : "(gone)", bytes) << path;
  }
  for (const auto& [path, bytes] : after) {
    if (!concerned(path)) continue;
    EXPECT_TRUE(before.count(path)) << "new: " << path;
  }
}

// A clone's zip lists, then cannot be read when its members are copied
// into the family's new set.
TEST_F(MergerTest, AReadErrorOnOneSetsZipFailsThatFamilyOnly) {
  AddStandardGames();
  WriteSplitCollection();
  Files before = Snapshot();
  ui.messageAnswers = {kResultNo};  // go on after the error

  FaultyFileSystem disk;
  disk.Fail({FileOperation::kOpen, "*/puckman.zip", 2});  // every open after the listing's
  MergeOutcome outcome = Run(MergeButton::kMerge, disk);

  EXPECT_EQ(FailedParents(outcome), std::vector<std::string>{"pacman"});
  EXPECT_EQ(outcome.handled, std::vector<std::string>{"galaxian"});
  ExpectUnchanged(before, Snapshot(), {"pacman", "puckman"});
  EXPECT_EQ(ZipContents(path2 + "galaxian.zip"), MergedFiles("galaxian"));
}

TEST_F(MergerTest, AFullDiskFailsEveryFamilyAndChangesNoSet) {
  AddStandardGames();
  WriteSplitCollection();
  Files before = Snapshot();
  ui.messageAnswers = {kResultNo, kResultNo};

  FaultyFileSystem fullDisk;
  fullDisk.FillDiskAfter(0);
  MergeOutcome outcome = Run(MergeButton::kMerge, fullDisk);

  EXPECT_EQ(FailedParents(outcome), (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_TRUE(outcome.handled.empty());
  EXPECT_EQ(Snapshot(), before);
}

// The new set is written and read back, but cannot take the old one's
// place: the family fails and keeps what it had.
TEST_F(MergerTest, ANewSetThatCannotTakeItsPlaceFailsItsFamilyAndKeepsTheOldSets) {
  AddStandardGames();
  WriteSplitCollection();
  Files before = Snapshot();
  ui.messageAnswers = {kResultNo};

  FaultyFileSystem disk;
  disk.Fail({FileOperation::kReplace, "*/pacman.kpw/new.zip"});
  MergeOutcome outcome = Run(MergeButton::kMerge, disk);

  EXPECT_EQ(FailedParents(outcome), std::vector<std::string>{"pacman"});
  ExpectUnchanged(before, Snapshot(), {"pacman", "puckman"});
}

}  // namespace
}  // namespace kestrel::testing
