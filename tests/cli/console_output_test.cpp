// What merge and rebuild say about a run, with the status they exit with.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

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

// A kept file, a cleared leftover and a stop are told and make the status
// 1 even when nothing failed (failures and skips are in the golden records).
TEST(ConsoleOutputTest, ARunIsDoneOnlyWhenNothingWasKeptAndItRanToTheEnd) {
  MergeOutcome merge;
  merge.started = true;
  merge.handled = {"pacman"};
  EXPECT_EQ(Merge(merge), std::pair(0, std::string("done pacman\n1 done, 0 skipped, 0 failed\n")));
  merge.kept = {{"/roms/mspacman.zip", "can't be read, left in place"}};
  merge.cleanedLeftovers = {"/roms/galaxian.kpw/"};
  EXPECT_EQ(Merge(merge), std::pair(1, std::string("done pacman\nkept /roms/mspacman.zip: can't be read, left in "
                                                   "place\ncleared /roms/galaxian.kpw/: left by an interrupted run\n"
                                                   "1 done, 0 skipped, 0 failed\n")));
  merge.kept.clear();
  merge.stopped = true;
  EXPECT_EQ(Merge(merge).first, 1);

  RebuildOutcome rebuild;
  rebuild.completed = true;
  rebuild.counts = {5, 4, 1, 6, 3, 4};
  rebuild.leftovers = {{"/out/pacman.zip.a1b2c3", ""}, {"/out/alone.zip.d4e5f6", "/backup/alone.zip.d4e5f6"}};
  const std::string counts = "Source files seen: 5\nMatched: 4\nSkipped: 1\nROMs placed: 6\nSets written: 3\n";
  EXPECT_EQ(Rebuild(rebuild, true),
            std::pair(0, "cleared /out/pacman.zip.a1b2c3: left by an interrupted run\ncleared /out/alone.zip.d4e5f6: "
                         "left by an interrupted run, moved to '/backup/alone.zip.d4e5f6'\n" +
                             counts + "Sources removed: 4\nFailed: 0\n"));
  rebuild.leftovers.clear();
  rebuild.completed = false;
  EXPECT_EQ(Rebuild(rebuild), std::pair(1, "stopped before the end\n" + counts + "Failed: 0\n"));
}

}  // namespace
}  // namespace kestrel
