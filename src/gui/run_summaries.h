// The message a tool shows when a run has ended: what was done, what was
// skipped and what failed, each failure with its reason. Free of Qt, so
// the texts are tested without a window.
#pragma once

#include <string>

#include "app/user_interface.h"
#include "archive/torrent_zip.h"
#include "merger/merger.h"
#include "rebuilder/rebuilder.h"

namespace kestrel {

struct RunSummary {
  std::string text;
  MessageIcon icon = MessageIcon::kInformation;  // kExclamation when something was left undone
};

// Lists name at most this many entries each; the rest are counted.
inline constexpr int kSummaryListLimit = 10;

// The summary of a merger run that started; `families` is how many the
// run was to rearrange, so that a stopped run tells how many it left.
RunSummary SummarizeMerge(const MergeOutcome& outcome, MergeButton button, int families);

// The summary of a rebuild that was not refused; `removeSources` tells
// whether the sources removed are worth a line.
RunSummary SummarizeRebuild(const RebuildOutcome& outcome, bool removeSources);

// Adds to `summary` the zips a run wrote but could not rewrite in
// TorrentZip's form, each with why: the run did not do all it was asked.
void AddTorrentZipMisses(RunSummary& summary, const std::vector<TorrentZipMiss>& misses);

}  // namespace kestrel
