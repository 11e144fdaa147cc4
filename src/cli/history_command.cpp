#include "cli/history_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/exit_status.h"
#include "undo/journaled_file_system.h"
#include "undo/run_history.h"

namespace kestrel {
namespace {

const char* RunState(const Journal& journal) {
  return journal.undone ? "undone" : journal.ended ? "done" : "stopped before its end";
}

// "3 created, 1 replaced, ..." of the kinds the run has.
std::string CountText(const std::vector<FileChange>& changes) {
  static const char* const kWords[] = {"created", "replaced", "renamed", "deleted", "folders created",
                                       "folders removed"};
  size_t counts[std::size(kWords)] = {};
  for (const FileChange& change : changes) ++counts[static_cast<size_t>(change.kind)];
  std::string text;
  for (size_t kind = 0; kind < std::size(kWords); ++kind) {
    if (counts[kind] == 0) continue;
    text += (text.empty() ? "" : ", ") + std::to_string(counts[kind]) + " " + kWords[kind];
  }
  return text.empty() ? "no changes" : text;
}

}  // namespace

void AddHistoryOptions(CLI::App& command, HistoryOptions& options) {
  command.add_option("run", options.run, "A run whose changes to list");
  command.add_option("--data-folder", options.data.dataFolder, "Folder holding the data caches and undo journals");
}

int RunHistoryCommand(const HistoryOptions& options) {
  const std::string undoFolder = UndoFolder(ChooseDataFolder(options.data));
  if (options.run.empty()) {
    for (const RunRecord& run : ListRuns(undoFolder))
      std::printf("%s  %s  %s  %s: %s\n", run.id.c_str(), run.journal.started.c_str(), run.journal.command.c_str(),
                  RunState(run.journal), CountText(DescribeRun(run.journal)).c_str());
    return kExitDone;
  }
  std::optional<RunRecord> run = FindRun(undoFolder, options.run);
  if (!run) {
    std::fprintf(stderr, "There is no run '%s' in '%s'\n", options.run.c_str(), undoFolder.c_str());
    return kExitRefused;
  }
  std::printf("run %s: %s, %s\n", run->id.c_str(), run->journal.command.c_str(), RunState(run->journal));
  for (const FileChange& change : DescribeRun(run->journal)) std::printf("%s\n", DescribeChange(change).c_str());
  return kExitDone;
}

}  // namespace kestrel
