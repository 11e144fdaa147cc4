// What merge, split, unmerge and rebuild print about a run and the status
// they exit with: 0 only when everything asked for was done; every family or
// file that was not is named with its reason and counted.
#include <gtest/gtest.h>

#include <cstdio>

#include "cli/merge_command.h"
#include "cli/rebuild_command.h"
#include "merger/merger.h"
#include "rebuilder/rebuilder.h"

namespace kestrel {
namespace {

// Runs `report` on a scratch file; the status and what it printed.
template <class Report>
std::pair<int, std::string> Printed(Report report) {
  std::FILE* out = std::tmpfile();
  EXPECT_NE(out, nullptr);
  int status = report(out);
  std::rewind(out);
  std::string text;
  for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
  std::fclose(out);
  return {status, text};
}

TEST(OutcomeReportTest, AMergeRunIsDoneOnlyWhenNoFamilyWasSkippedOrFailedAndItRanToTheEnd) {
  MergeOutcome outcome;
  outcome.started = true;
  outcome.handled = {"galaxian", "pacman"};
  auto done = Printed([&](std::FILE* out) { return ReportMergeOutcome(outcome, out); });
  EXPECT_EQ(done.first, 0);
  EXPECT_EQ(done.second, "done galaxian\ndone pacman\n2 done, 0 skipped, 0 failed\n");

  MergeOutcome failed = outcome;
  failed.failed = {{"puckman", "can't write '/roms/puckman.zip'"}};
  auto oneFailed = Printed([&](std::FILE* out) { return ReportMergeOutcome(failed, out); });
  EXPECT_EQ(oneFailed.first, 1);
  EXPECT_EQ(oneFailed.second,
            "done galaxian\ndone pacman\nfailed, old sets kept: puckman: can't write '/roms/puckman.zip'\n"
            "2 done, 0 skipped, 1 failed\n");

  MergeOutcome skipped = outcome;
  skipped.skipped = {{"mspacman", "/nowhere/mspacman.kpw/"}};
  auto oneSkipped = Printed([&](std::FILE* out) { return ReportMergeOutcome(skipped, out); });
  EXPECT_EQ(oneSkipped.first, 1);
  EXPECT_NE(oneSkipped.second.find("skipped mspacman: the work folder '/nowhere/mspacman.kpw/' can't be made\n"),
            std::string::npos)
      << oneSkipped.second;
  EXPECT_NE(oneSkipped.second.find("2 done, 1 skipped, 0 failed\n"), std::string::npos);

  MergeOutcome kept = outcome;
  kept.kept = {{"/roms/mspacman.zip", "can't be read, left in place"}};
  kept.cleanedLeftovers = {"/roms/galaxian.kpw/"};
  auto oneKept = Printed([&](std::FILE* out) { return ReportMergeOutcome(kept, out); });
  EXPECT_EQ(oneKept.first, 1);
  EXPECT_NE(oneKept.second.find("kept /roms/mspacman.zip: can't be read, left in place\n"
                                "cleared /roms/galaxian.kpw/: left by an interrupted run\n"),
            std::string::npos)
      << oneKept.second;

  MergeOutcome stopped = outcome;
  stopped.stopped = true;
  auto early = Printed([&](std::FILE* out) { return ReportMergeOutcome(stopped, out); });
  EXPECT_EQ(early.first, 1);
  EXPECT_NE(early.second.find("stopped before the end\n"), std::string::npos);
}

TEST(OutcomeReportTest, ARebuildIsDoneOnlyWhenNothingFailedAndItWentThroughEverySource) {
  RebuildOutcome outcome;
  outcome.completed = true;
  outcome.counts = {5, 4, 1, 6, 3, 4};
  auto done = Printed([&](std::FILE* out) { return ReportRebuildOutcome(outcome, true, out); });
  EXPECT_EQ(done.first, 0);
  EXPECT_EQ(done.second,
            "Source files seen: 5\nMatched: 4\nSkipped: 1\nROMs placed: 6\nSets written: 3\nSources removed: 4\n"
            "Failed: 0\n");

  RebuildOutcome failed = outcome;
  failed.failures = {{"/in/damaged.zip", "can't be read"}, {"/out/pacman.zip", "can't be written"}};
  auto twoFailed = Printed([&](std::FILE* out) { return ReportRebuildOutcome(failed, false, out); });
  EXPECT_EQ(twoFailed.first, 1);
  EXPECT_EQ(twoFailed.second,
            "failed: /in/damaged.zip: can't be read\nfailed: /out/pacman.zip: can't be written\n"
            "Source files seen: 5\nMatched: 4\nSkipped: 1\nROMs placed: 6\nSets written: 3\nFailed: 2\n");

  RebuildOutcome cleared = outcome;
  cleared.leftovers = {{"/out/pacman.zip.a1b2c3", ""}, {"/out/alone.zip.d4e5f6", "/backup/alone.zip.d4e5f6"}};
  auto tidied = Printed([&](std::FILE* out) { return ReportRebuildOutcome(cleared, false, out); });
  EXPECT_EQ(tidied.first, 0);
  EXPECT_EQ(tidied.second.rfind("cleared /out/pacman.zip.a1b2c3: left by an interrupted run\n"
                                "cleared /out/alone.zip.d4e5f6: left by an interrupted run, moved to "
                                "'/backup/alone.zip.d4e5f6'\n", 0), 0u)
      << tidied.second;

  RebuildOutcome stopped = outcome;
  stopped.completed = false;
  auto early = Printed([&](std::FILE* out) { return ReportRebuildOutcome(stopped, false, out); });
  EXPECT_EQ(early.first, 1);
  EXPECT_EQ(early.second.rfind("stopped before the end\n", 0), 0u) << early.second;
}

}  // namespace
}  // namespace kestrel
