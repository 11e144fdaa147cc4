#include "cli/history_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/exit_status.h"
#include "undo/journaled_file_system.h"
#include "undo/run_history.h"

namespace kestrel {

void AddHistoryOptions(CLI::App& command, HistoryOptions& options) {
  command.add_option("run", options.run, "A run whose changes to list");
  command.add_option("--data-folder", options.data.dataFolder, "Folder holding the data caches and undo journals");
}

int RunHistoryCommand(const HistoryOptions& options) {
  const std::string undoFolder = UndoFolder(ChooseDataFolder(options.data));
  if (options.run.empty()) {
    for (const RunRecord& run : ListRuns(undoFolder)) std::printf("%s\n", RunSummaryLine(run).c_str());
    return kExitDone;
  }
  std::optional<RunRecord> run = FindRun(undoFolder, options.run);
  if (!run) {
    std::fprintf(stderr, "There is no run '%s' in '%s'\n", options.run.c_str(), undoFolder.c_str());
    return kExitRefused;
  }
  std::printf("run %s: %s, %s\n", run->id.c_str(), run->journal.command.c_str(), RunStateText(run->journal).c_str());
  for (const FileChange& change : DescribeRun(run->journal)) std::printf("%s\n", DescribeChange(change).c_str());
  return kExitDone;
}

}  // namespace kestrel
