// The question before a removing run and the summary after it, at the
// edges: one of each (singular words), merged sets without clones, damaged
// clone references, a stop that left nothing unreached, and what an
// interrupted earlier run had left.
#include <gtest/gtest.h>

#include "gui/removal_questions.h"
#include "gui/run_summaries.h"

namespace kestrel {
namespace {

TEST(RunTextsForOneOfEach, QuestionsCountOnlyRealClonesAndNameOnlyWhatGoes) {
  GameList games(2);
  games[0].isParent = games[1].hasParent = true;
  games[0].clones = {{"", 1}, {"", -1}};  // a damaged reference is no clone
  SettingsRecord settings;
  settings.romPaths = {{"/roms/a/"}, {"/roms/b/"}};
  settings.mergeMode = SetLayout::kMerged;
  settings.mergeCleanSet = false;
  const MergeReach reach = CountMergeReach(games, settings);
  EXPECT_EQ(reach.families * 1000 + reach.sets * 100 + reach.clones * 10 + reach.otherPaths, 1211);
  const std::string tail = "No backup folder is set: a family whose old sets hold a file that no new set holds is "
                           "left as it is.\n\nDo You Want To Go On ?";
  EXPECT_EQ(MergeRemovalQuestion({1, 1, 0, 1}, settings, MergeButton::kMerge),  // merged, yet no clone to fold
            "Merging 1 Family (1 Set).\n\nRemove Old: the copies of these 1 set in 1 other ROM-Path are deleted.\n" +
                tail);
  EXPECT_EQ(MergeRemovalQuestion({1, 2, 1, 0}, settings, MergeButton::kMerge),  // one ROM path: no copies elsewhere
            "Merging 1 Family (2 Sets).\n\nRemove Old: up to 1 clone set, merged into their parents' sets, are "
            "deleted from every ROM-Path.\n" + tail);
}

TEST(RunTextsForOneOfEach, AStopThatReachedEveryFamilyAndARebuildThatClearedLeftovers) {
  MergeOutcome merge;
  merge.started = merge.stopped = true;
  merge.handled = {"pacman"};
  const RunSummary stopped = SummarizeMerge(merge, MergeButton::kMerge, 1);
  EXPECT_EQ(stopped.text, "Merging Stopped.\n\n1 Family Rebuilt, 0 Skipped, 0 Failed.");
  RebuildOutcome rebuild{false, true, {1, 1, 0, 1, 1, 1}, {}, {{"/roms/a.zip.kpt", ""}, {"/src/b.kpt", "/bak/b.kpt"}}};
  const RunSummary done = SummarizeRebuild(rebuild, true);
  EXPECT_EQ(done.text, "Rebuilding Done.\n\n1 Source File: 1 Matched, 0 Skipped (No ROM Needs Them).\n"
                       "1 ROM Written Into 1 Set.\n1 Source Removed.\n\nCleared (left by an interrupted run):\n"
                       "  /roms/a.zip.kpt: removed\n  /src/b.kpt: moved to '/bak/b.kpt'");
  EXPECT_EQ(stopped.icon, MessageIcon::kExclamation);
  EXPECT_EQ(done.icon, MessageIcon::kInformation);
}

}  // namespace
}  // namespace kestrel
