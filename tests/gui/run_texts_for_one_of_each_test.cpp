// The question before a removing run and the summary after it, at the
// edges: one of each (singular words), a stop that left nothing unreached,
// merged sets that hold no clone, damaged clone references, and what an
// interrupted earlier run had left.
#include <gtest/gtest.h>

#include "gui/removal_questions.h"
#include "gui/run_summaries.h"

namespace kestrel {
namespace {

TEST(RunTextsForOneOfEach, MergeQuestionsCountOnlyRealClonesAndNameOnlyWhatGoes) {
  GameList games(2);
  games[0].isParent = true;
  games[0].clones = {{"", 1}, {"", -1}};  // a damaged reference is no clone
  games[1].hasParent = true;
  SettingsRecord settings;
  settings.romPaths = {{"/roms/a/"}, {"/roms/b/"}};
  settings.mergeMode = SetLayout::kMerged;
  settings.mergeCleanSet = false;
  const MergeReach reach = CountMergeReach(games, settings);
  EXPECT_EQ(reach.families * 1000 + reach.sets * 100 + reach.clones * 10 + reach.otherPaths, 1211);

  const std::string tail = "No backup folder is set: a family whose old sets hold a file that no new set holds is "
                           "left as it is.\n\nDo You Want To Go On ?";
  // Merged sets without clones: only the copies elsewhere go.
  EXPECT_EQ(MergeRemovalQuestion({1, 1, 0, 1}, settings, MergeButton::kMerge),
            "Merging 1 Family (1 Set).\n\nRemove Old: the copies of these 1 set in 1 other ROM-Path are deleted.\n" +
                tail);
  // One ROM path: the clone sets go, and no copies elsewhere are named.
  EXPECT_EQ(MergeRemovalQuestion({1, 2, 1, 0}, settings, MergeButton::kMerge),
            "Merging 1 Family (2 Sets).\n\nRemove Old: up to 1 clone set, merged into their parents' sets, are "
            "deleted from every ROM-Path.\n" + tail);
}

TEST(RunTextsForOneOfEach, AStopThatReachedEveryFamilyAndACompletedRebuildThatClearedLeftovers) {
  MergeOutcome merge;
  merge.started = merge.stopped = true;
  merge.handled = {"pacman"};
  const RunSummary stopped = SummarizeMerge(merge, MergeButton::kMerge, 1);
  EXPECT_EQ(stopped.text, "Merging Stopped.\n\n1 Family Rebuilt, 0 Skipped, 0 Failed.");
  EXPECT_EQ(stopped.icon, MessageIcon::kExclamation);

  RebuildOutcome rebuild;
  rebuild.completed = true;
  rebuild.counts = {1, 1, 0, 1, 1, 1};
  rebuild.leftovers = {{"/roms/galaga.zip.kpt", ""}, {"/src/pack.zip.kpt", "/backup/pack.zip.kpt"}};
  const RunSummary done = SummarizeRebuild(rebuild, true);
  EXPECT_EQ(done.text, "Rebuilding Done.\n\n1 Source File: 1 Matched, 0 Skipped (No ROM Needs Them).\n"
                       "1 ROM Written Into 1 Set.\n1 Source Removed.\n\nCleared (left by an interrupted run):\n"
                       "  /roms/galaga.zip.kpt: removed\n  /src/pack.zip.kpt: moved to '/backup/pack.zip.kpt'");
  EXPECT_EQ(done.icon, MessageIcon::kInformation);
}

}  // namespace
}  // namespace kestrel
