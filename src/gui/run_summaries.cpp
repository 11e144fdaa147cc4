#include "gui/run_summaries.h"

#include <algorithm>
#include <vector>

namespace kestrel {
namespace {

std::string Counted(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// A heading and one indented line per entry, at most kSummaryListLimit of
// them; "" for no entries.
std::string ListOf(const std::string& heading, const std::vector<std::string>& lines) {
  if (lines.empty()) return "";
  std::string text = "\n\n" + heading;
  const int shown = std::min<int>(static_cast<int>(lines.size()), kSummaryListLimit);
  for (int i = 0; i < shown; ++i) text += "\n  " + lines[static_cast<size_t>(i)];
  if (static_cast<int>(lines.size()) > shown)
    text += "\n  ... and " + std::to_string(lines.size() - static_cast<size_t>(shown)) + " more";
  return text;
}

}  // namespace

RunSummary SummarizeMerge(const MergeOutcome& outcome, MergeButton button, int families) {
  const int handled = static_cast<int>(outcome.handled.size());
  const int skipped = static_cast<int>(outcome.skipped.size());
  const int failed = static_cast<int>(outcome.failed.size());
  const bool merging = button == MergeButton::kMerge;
  RunSummary summary;
  summary.text = std::string(merging ? "Merging " : "Unmerging ") + (outcome.stopped ? "Stopped." : "Done.") +
                 "\n\n" + Counted(handled, "Family", "Families") + " Rebuilt, " + std::to_string(skipped) +
                 " Skipped, " + std::to_string(failed) + " Failed.";
  const int left = families - handled - skipped - failed;
  if (outcome.stopped && left > 0) summary.text += "\n" + Counted(left, "Family", "Families") + " Not Reached.";

  std::vector<std::string> lines;
  for (const SkippedFamily& family : outcome.skipped)
    lines.push_back(family.parent + ": '" + family.workFolder + "' is in the way");
  summary.text += ListOf("Skipped (a work folder left by an earlier run; check it, then remove it):", lines);
  lines.clear();
  for (const FailedFamily& family : outcome.failed) lines.push_back(family.parent + ": " + family.reason);
  summary.text += ListOf("Failed (their old sets are kept):", lines);
  lines.clear();
  for (const KeptFile& file : outcome.kept) lines.push_back(file.path + ": " + file.reason);
  summary.text += ListOf("Kept (not removed):", lines);
  summary.text += ListOf("Unreadable (left as they are; they may hold what the sets lack):", outcome.unreadable);
  summary.text += ListOf("Cleared (left by an interrupted run):", outcome.cleanedLeftovers);

  if (outcome.stopped || skipped > 0 || failed > 0 || !outcome.kept.empty() || !outcome.unreadable.empty())
    summary.icon = MessageIcon::kExclamation;
  return summary;
}

RunSummary SummarizeRebuild(const RebuildOutcome& outcome, bool removeSources) {
  const RebuildCounts& counts = outcome.counts;
  RunSummary summary;
  summary.text = std::string("Rebuilding ") + (outcome.completed ? "Done." : "Stopped.") + "\n\n" +
                 Counted(counts.sourceFiles, "Source File", "Source Files") + ": " +
                 std::to_string(counts.matched) + " Matched, " + std::to_string(counts.skipped) +
                 " Skipped (No ROM Needs Them).\n" + Counted(counts.romsPlaced, "ROM", "ROMs") + " Written Into " +
                 Counted(counts.setsWritten, "Set", "Sets") + ".";
  if (removeSources) summary.text += "\n" + Counted(counts.sourcesRemoved, "Source", "Sources") + " Removed.";
  std::vector<std::string> lines;
  for (const RebuildFailure& failure : outcome.failures) lines.push_back(failure.path + ": " + failure.reason);
  summary.text += ListOf("Failed:", lines);
  lines.clear();
  for (const RebuildLeftover& leftover : outcome.leftovers)
    lines.push_back(leftover.path + (leftover.movedTo.empty() ? ": removed" : ": moved to '" + leftover.movedTo + "'"));
  summary.text += ListOf("Cleared (left by an interrupted run):", lines);
  if (!outcome.completed || !outcome.failures.empty()) summary.icon = MessageIcon::kExclamation;
  return summary;
}

void AddTorrentZipMisses(RunSummary& summary, const std::vector<TorrentZipMiss>& misses) {
  std::vector<std::string> lines;
  for (const TorrentZipMiss& miss : misses) lines.push_back(miss.path + ": " + TorrentZipFaultText(miss.fault));
  summary.text += ListOf("Not Rewritten As TorrentZip:", lines);
  if (!misses.empty()) summary.icon = MessageIcon::kExclamation;
}

}  // namespace kestrel
