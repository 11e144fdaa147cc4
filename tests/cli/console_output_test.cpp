// What the console reads and prints: the answers typed at a terminal, and
// what merge, split, unmerge and rebuild say about a run with the status
// they exit with: 0 only when everything asked for was done; every family
// or file that was not is named with its reason and counted.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cli/console_interface.h"
#include "cli/merge_command.h"
#include "cli/rebuild_command.h"
#include "merger/merger.h"
#include "rebuilder/rebuilder.h"

namespace kestrel {
namespace {

// Runs `print` on a scratch file; the status it returned and what it printed.
template <class Print>
std::pair<int, std::string> Printed(Print print) {
  std::FILE* out = std::tmpfile();
  EXPECT_NE(out, nullptr);
  int status = print(out);
  std::rewind(out);
  std::string text;
  for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
  std::fclose(out);
  return {status, text};
}

std::pair<int, std::string> Merge(const MergeOutcome& outcome) {
  return Printed([&](std::FILE* out) { return ReportMergeOutcome(outcome, out); });
}

std::pair<int, std::string> Rebuild(const RebuildOutcome& outcome, bool removeSources = false) {
  return Printed([&](std::FILE* out) { return ReportRebuildOutcome(outcome, removeSources, out); });
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// At a terminal each question waits for a known answer, in either case;
// the end of the input stops.
TEST(ConsoleOutputTest, ReadsTheAnswersTypedAtATerminal) {
  int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  ASSERT_EQ(::grantpt(terminal), 0);
  ASSERT_EQ(::unlockpt(terminal), 0);
  std::FILE* in = std::fopen(::ptsname(terminal), "r");
  ASSERT_NE(in, nullptr);
  const std::string typed = "Y\nmaybe\nno\na\nl\nstop\nyes\nc\no\n";
  ASSERT_EQ(::write(terminal, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
  std::FILE* err = std::tmpfile();
  ConsoleInterface console(AnswerPolicy::kAsk, in, err);
  std::vector<int> answers;
  for (int i = 0; i < 5; ++i) answers.push_back(console.Ask("Question", "Fix it ?"));
  EXPECT_EQ(answers, (std::vector<int>{kAnswerYes, kAnswerNo, kAnswerYesToAll, kAnswerNoToAll, kAnswerStop}));
  EXPECT_EQ(console.Message("Go on ?", "Kestrel", {MessageButtons::kYesNo}), kResultYes);
  EXPECT_EQ(console.Message("Retry ?", "Kestrel", {MessageButtons::kRetryCancel}), kResultCancel);
  EXPECT_EQ(console.Message("Go on ?", "Kestrel", {MessageButtons::kOkCancel}), kResultOk);
  std::fclose(in);
  ::close(terminal);
  std::fclose(err);
}

TEST(ConsoleOutputTest, AMergeRunIsDoneOnlyWhenNoFamilyWasSkippedOrFailedAndItRanToTheEnd) {
  MergeOutcome done;
  done.started = true;
  done.handled = {"galaxian", "pacman"};
  EXPECT_EQ(Merge(done), std::pair(0, std::string("done galaxian\ndone pacman\n2 done, 0 skipped, 0 failed\n")));

  MergeOutcome failed = done;
  failed.failed = {{"puckman", "can't write '/roms/puckman.zip'"}};
  EXPECT_EQ(Merge(failed), std::pair(1, std::string("done galaxian\ndone pacman\nfailed, old sets kept: puckman: "
                                                    "can't write '/roms/puckman.zip'\n2 done, 0 skipped, 1 failed\n")));
  MergeOutcome skipped = done;
  skipped.skipped = {{"mspacman", "/nowhere/mspacman.kpw/"}};
  auto [status, text] = Merge(skipped);
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(Has(text, "skipped mspacman: the work folder '/nowhere/mspacman.kpw/' can't be made\n")) << text;
  EXPECT_TRUE(Has(text, "2 done, 1 skipped, 0 failed\n")) << text;

  MergeOutcome kept = done;
  kept.kept = {{"/roms/mspacman.zip", "can't be read, left in place"}};
  kept.cleanedLeftovers = {"/roms/galaxian.kpw/"};
  std::tie(status, text) = Merge(kept);
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(Has(text, "kept /roms/mspacman.zip: can't be read, left in place\n"
                        "cleared /roms/galaxian.kpw/: left by an interrupted run\n")) << text;
  MergeOutcome stopped = done;
  stopped.stopped = true;
  std::tie(status, text) = Merge(stopped);
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(Has(text, "stopped before the end\n")) << text;
}

TEST(ConsoleOutputTest, ARebuildIsDoneOnlyWhenNothingFailedAndItWentThroughEverySource) {
  const std::string counts = "Source files seen: 5\nMatched: 4\nSkipped: 1\nROMs placed: 6\nSets written: 3\n";
  RebuildOutcome done;
  done.completed = true;
  done.counts = {5, 4, 1, 6, 3, 4};
  EXPECT_EQ(Rebuild(done, true), std::pair(0, counts + "Sources removed: 4\nFailed: 0\n"));

  RebuildOutcome failed = done;
  failed.failures = {{"/in/damaged.zip", "can't be read"}, {"/out/pacman.zip", "can't be written"}};
  EXPECT_EQ(Rebuild(failed), std::pair(1, "failed: /in/damaged.zip: can't be read\nfailed: /out/pacman.zip: can't "
                                          "be written\n" + counts + "Failed: 2\n"));
  RebuildOutcome cleared = done;
  cleared.leftovers = {{"/out/pacman.zip.a1b2c3", ""}, {"/out/alone.zip.d4e5f6", "/backup/alone.zip.d4e5f6"}};
  auto [status, text] = Rebuild(cleared);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(text.rfind("cleared /out/pacman.zip.a1b2c3: left by an interrupted run\ncleared /out/alone.zip.d4e5f6: "
                       "left by an interrupted run, moved to '/backup/alone.zip.d4e5f6'\n", 0), 0u) << text;
  RebuildOutcome stopped = done;
  stopped.completed = false;
  std::tie(status, text) = Rebuild(stopped);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(text.rfind("stopped before the end\n", 0), 0u) << text;
}

}  // namespace
}  // namespace kestrel
