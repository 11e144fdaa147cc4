// The runs on record in the undo folder, for `history` and for choosing
// the run an undo reverts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/change_list.h"
#include "undo/journal.h"

namespace kestrel {

struct RunRecord {
  std::string id;      // the run folder's name: its number, "1" for the first
  std::string folder;  // with a trailing '/'
  Journal journal;
};

// Every run with a readable journal, oldest first.
std::vector<RunRecord> ListRuns(const std::string& undoFolder);
// The number after the highest run folder's (1 when there is none).
int NextRunNumber(const std::string& undoFolder);

// The run `id`, or without an id the last run not undone yet.
std::optional<RunRecord> FindRun(const std::string& undoFolder, const std::string& id);

// The run's changes as a user reads them (a file written under a
// temporary name and moved over its name is one write), as a dry run
// lists them.
std::vector<FileChange> DescribeRun(const Journal& journal);

// "done", "stopped before its end" or "undone".
std::string RunStateText(const Journal& journal);
// "3 created, 1 replaced, ..." of the kinds of change there are; "no changes".
std::string ChangeCountText(const std::vector<FileChange>& changes);
// One line of the list of runs: "ID  STARTED  COMMAND  STATE: COUNTS".
std::string RunSummaryLine(const RunRecord& run);

}  // namespace kestrel
