// The question before a removing run and the summary after it, without a
// window: the counts come from the selection and the options, the texts
// name what goes and what failed, in the singular for one of each.
#include <gtest/gtest.h>

#include "gui/removal_questions.h"
#include "gui/run_summaries.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// pacman with two clones, galaga with one (its parent unselected), a game
// on a BIOS set without clones, and the BIOS set itself.
GameList Families() {
  GameList games(7);
  const char* names[] = {"pacman", "puckman", "pacmanf", "galaga", "galagao", "neogame", "neogeo"};
  for (size_t i = 0; i < games.size(); ++i) games[i].name = names[i];
  games[0].isParent = true;
  games[0].clones = {{"", 1}, {"", 2}, {"", 99}, {"", -1}};  // damaged references count as no clone
  games[1].hasParent = games[2].hasParent = true;
  games[3].isParent = true;
  games[3].selected = false;
  games[3].clones = {{"", 4}};
  games[4].hasParent = true;
  games[5].biosIndex = 6;
  return games;
}

TEST(RemovalQuestions, CountFamiliesAsTheMergerDoesAndNameWhatGoes) {
  testing::TempFolder roms;
  testing::WriteFile(roms / "a/x", "");
  testing::WriteFile(roms / "b/x", "");
  SettingsRecord settings;
  settings.romPaths = {{roms / "a/", true}, {roms / "b/", true}, {roms / "off/", false}};
  const GameList games = Families();
  MergeReach reach = CountMergeReach(games, settings);
  EXPECT_EQ(reach.families, 2);  // pacman's family and the BIOS game
  EXPECT_EQ(reach.sets, 4);
  EXPECT_EQ(reach.clones, 2);
  EXPECT_EQ(reach.otherPaths, 1);
  settings.mergePlacement = MergePlacement::kIntoDestination;
  settings.mergeDestination = roms / "B";  // one of the two, spelled otherwise
  EXPECT_EQ(CountMergeReach(games, settings).otherPaths, 1);
  settings.mergeDestination = roms / "c/";
  EXPECT_EQ(CountMergeReach(games, settings).otherPaths, 2);

  // Merged sets with both options: the clone sets go everywhere, the
  // parents' copies elsewhere, and Clean Set drops unnamed files.
  const std::string merge = MergeRemovalQuestion(reach, settings, MergeButton::kMerge);
  EXPECT_EQ(merge, "Merging 2 Families (4 Sets).\n\nRemove Old: up to 2 clone sets, merged into their parents' sets, "
                   "are deleted from every ROM-Path, and the copies of the 2 parent sets in 1 other ROM-Path.\n"
                   "Clean Set: files the game data do not name are left out of the new sets of these 2 families, and "
                   "a set left without a ROM is deleted.\nNo backup folder is set: a family whose old sets hold a file "
                   "that no new set holds is left as it is.\n\nDo You Want To Go On ?");
  // Unmerged sets keep every clone set: only copies elsewhere go.
  settings.mergeCleanSet = false;
  const std::string unmerge = MergeRemovalQuestion(reach, settings, MergeButton::kUnmerge);
  EXPECT_EQ(unmerge, "Unmerging 2 Families (4 Sets).\n\nRemove Old: the copies of these 4 sets in 1 other "
                     "ROM-Path are deleted.\nNo backup folder is set: a family whose old sets hold a file that no new set "
                     "holds is left as it is.\n\nDo You Want To Go On ?");
  settings.backupFolder = "/backups/";
  EXPECT_TRUE(Has(MergeRemovalQuestion(reach, settings, MergeButton::kUnmerge),
                  "deleted.\nA file that no new set holds is first stored in the backup folder '/backups/'.\n"));

  // One ROM path: split sets lose nothing to Remove Old, merged ones do.
  reach.otherPaths = 0;
  settings.mergeMode = SetLayout::kSplit;
  EXPECT_EQ(MergeRemovalQuestion(reach, settings, MergeButton::kMerge), "");
  settings.mergeMode = SetLayout::kMerged;
  EXPECT_NE(MergeRemovalQuestion(reach, settings, MergeButton::kMerge), "");
  settings.mergeRemoveOld = false;
  EXPECT_EQ(MergeRemovalQuestion(reach, settings, MergeButton::kMerge), "");
  // Nothing selected, or no ROM path (the run refuses): no question.
  settings.mergeCleanSet = true;
  EXPECT_EQ(MergeRemovalQuestion(MergeReach{}, settings, MergeButton::kMerge), "");
  settings.romPaths[0].enabled = settings.romPaths[1].enabled = false;
  EXPECT_EQ(MergeRemovalQuestion(reach, settings, MergeButton::kMerge), "");

  // One of each: merged sets with no clone to fold lose only copies elsewhere.
  settings.romPaths[0].enabled = settings.mergeRemoveOld = true;
  settings.mergeCleanSet = false;
  const std::string tail = "A file that no new set holds is first stored in the backup folder '/backups/'.\n\n"
                           "Do You Want To Go On ?";
  EXPECT_EQ(MergeRemovalQuestion({1, 1, 0, 1}, settings, MergeButton::kMerge),
            "Merging 1 Family (1 Set).\n\nRemove Old: the copies of these 1 set in 1 other ROM-Path are deleted.\n" +
                tail);
  EXPECT_EQ(MergeRemovalQuestion({1, 2, 1, 0}, settings, MergeButton::kMerge),
            "Merging 1 Family (2 Sets).\n\nRemove Old: up to 1 clone set, merged into their parents' sets, are "
            "deleted from every ROM-Path.\n" + tail);
}

TEST(RemovalQuestions, RebuildAsksWithTheSourcesItWalks) {
  testing::TempFolder folder;
  testing::WriteFile(folder / "a.bin", "a");
  testing::WriteFile(folder / "pack.zip", "not read here");
  testing::WriteFile(folder / "sub/b.bin", "b");
  SettingsRecord settings;
  settings.rebuildSource = folder.path();
  settings.rebuildRecursive = false;
  EXPECT_EQ(CountRebuildSources(settings), 2);
  EXPECT_EQ(RebuildRemovalQuestion(settings, 2), "");  // the option is off
  settings.rebuildRemoveSources = true;
  settings.rebuildRecursive = true;
  EXPECT_EQ(CountRebuildSources(settings), 3);
  const std::string question = RebuildRemovalQuestion(settings, 3);
  EXPECT_TRUE(Has(question, "up to 3 source files in '" + folder.path() + "' and its subfolders may be deleted"))
      << question;
  settings.rebuildRecursive = false;
  EXPECT_EQ(RebuildRemovalQuestion(settings, 1),
            "Remove Rebuilt Sourcefiles: up to 1 source file in '" + folder.path() + "' may be deleted, each once all "
            "it holds is rebuilt. A zip loses its rebuilt members, and goes when it is left empty.\n\n"
            "Do You Want To Go On ?");
  EXPECT_EQ(RebuildRemovalQuestion(settings, 0), "");
}

TEST(RunSummaries, MergeNamesSkippedAndFailedFamiliesAndWhatWasNotReached) {
  MergeOutcome outcome;
  outcome.started = outcome.stopped = true;
  outcome.handled = {"pacman"};  // a stop that reached every family leaves none unreached
  EXPECT_EQ(SummarizeMerge(outcome, MergeButton::kMerge, 1).text, "Merging Stopped.\n\n1 Family Rebuilt, 0 Skipped, 0 Failed.");
  outcome.stopped = false;
  outcome.handled = {"pacman", "galaga"};
  RunSummary summary = SummarizeMerge(outcome, MergeButton::kMerge, 3);  // a run not stopped reached every family
  EXPECT_EQ(summary.text, "Merging Done.\n\n2 Families Rebuilt, 0 Skipped, 0 Failed.");
  EXPECT_EQ(summary.icon, MessageIcon::kInformation);
  outcome.kept = {{"/roms/readme.txt", "can't be read, left in place"}};  // the user has to look at it
  EXPECT_EQ(SummarizeMerge(outcome, MergeButton::kMerge, 2).icon, MessageIcon::kExclamation);
  outcome.kept.clear();
  outcome.unreadable = {"/roms/neogeo.zip"};  // it may hold what the sets lack
  summary = SummarizeMerge(outcome, MergeButton::kUnmerge, 2);
  EXPECT_TRUE(Has(summary.text, "Unreadable (left as they are; they may hold what the sets lack):\n  /roms/neogeo.zip"));
  EXPECT_EQ(summary.icon, MessageIcon::kExclamation);
  outcome.unreadable.clear();

  outcome.skipped = {{"dkong", "/roms/dkong.kpw/"}};
  for (int i = 0; i < kSummaryListLimit + 2; ++i) outcome.failed.push_back({"game" + std::to_string(i), "disk full"});
  outcome.stopped = true;
  summary = SummarizeMerge(outcome, MergeButton::kUnmerge, 20);
  EXPECT_EQ(summary.text.rfind("Unmerging Stopped.\n\n2 Families Rebuilt, 1 Skipped, 12 Failed.\n"
                               "5 Families Not Reached.\n\nSkipped", 0), 0u) << summary.text;
  EXPECT_TRUE(Has(summary.text, "\n  dkong: '/roms/dkong.kpw/' is in the way\n\nFailed")) << summary.text;
  EXPECT_TRUE(Has(summary.text, "\n  game9: disk full\n  ... and 2 more")) << summary.text;
  EXPECT_FALSE(Has(summary.text, "game10"));
  outcome.cleanedLeftovers = {"/roms/galaga.kpw/"};
  EXPECT_TRUE(Has(SummarizeMerge(outcome, MergeButton::kMerge, 20).text,
                  "\n\nCleared (left by an interrupted run):\n  /roms/galaga.kpw/"));
  EXPECT_EQ(summary.icon, MessageIcon::kExclamation);
}

// A completed run is told with the same counts (see ToolDialogsTest), and
// the leftovers of an interrupted run it cleared are named.
TEST(RunSummaries, RebuildCountsWhatWasPlacedAndNamesEachFailure) {
  RebuildOutcome outcome;
  outcome.counts = {7, 5, 2, 6, 3, 4};
  outcome.failures = {{"/src/bad.zip", "can't be read"}};
  EXPECT_FALSE(Has(SummarizeRebuild(outcome, false).text, "Removed"));
  const RunSummary summary = SummarizeRebuild(outcome, true);
  EXPECT_EQ(summary.text, "Rebuilding Stopped.\n\n7 Source Files: 5 Matched, 2 Skipped (No ROM Needs Them).\n"
                          "6 ROMs Written Into 3 Sets.\n4 Sources Removed.\n\nFailed:\n  /src/bad.zip: can't be read");
  EXPECT_EQ(summary.icon, MessageIcon::kExclamation);
  RunSummary done = SummarizeRebuild(RebuildOutcome{false, true, {1, 1, 0, 1, 1, 0}, {}, {}}, false);
  AddTorrentZipMisses(done, {{"/roms/a.zip", TorrentZipFault::kBadMember}});
  EXPECT_TRUE(Has(done.text, "\n\nNot Rewritten As TorrentZip:\n  /roms/a.zip: ")) << done.text;
  EXPECT_EQ(done.icon, MessageIcon::kExclamation);

  const RebuildOutcome one{false, true, {1, 1, 0, 1, 1, 1}, {},
                           {{"/roms/a.zip.kpt", ""}, {"/src/b.kpt", "/bak/b.kpt"}}};
  EXPECT_EQ(SummarizeRebuild(one, true).text,
            "Rebuilding Done.\n\n1 Source File: 1 Matched, 0 Skipped (No ROM Needs Them).\n1 ROM Written Into 1 Set.\n"
            "1 Source Removed.\n\nCleared (left by an interrupted run):\n  /roms/a.zip.kpt: removed\n"
            "  /src/b.kpt: moved to '/bak/b.kpt'");
}

}  // namespace
}  // namespace kestrel
