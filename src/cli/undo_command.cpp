#include "cli/undo_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>

#include "cli/exit_status.h"
#include "undo/journaled_file_system.h"
#include "undo/run_history.h"
#include "undo/undo_run.h"

namespace kestrel {

void AddUndoOptions(CLI::App& command, UndoOptions& options) {
  command.add_option("run", options.run, "The run to revert, as \"history\" lists it (default the last)");
  command.add_option("--data-folder", options.data.dataFolder, "Folder holding the data caches and undo journals");
}

int RunUndoCommand(const UndoOptions& options) {
  const std::string undoFolder = UndoFolder(ChooseDataFolder(options.data));
  std::optional<RunRecord> run = FindRun(undoFolder, options.run);
  if (!run) {
    if (options.run.empty()) std::fprintf(stderr, "There is no run to undo in '%s'\n", undoFolder.c_str());
    else std::fprintf(stderr, "There is no run '%s' in '%s'\n", options.run.c_str(), undoFolder.c_str());
    return kExitRefused;
  }
  UndoOutcome outcome = UndoRun(RealFileSystem(), run->folder);
  if (outcome.refused) {
    std::fprintf(stderr, "%s\n", outcome.refusal.c_str());
    return kExitRefused;
  }
  std::printf("Undoing run %s (%s)\n", run->id.c_str(), run->journal.command.c_str());
  // The rebuilder writes sets from several threads, so the journal's order
  // varies from run to run; the report lists the steps by path.
  std::sort(outcome.done.begin(), outcome.done.end());
  for (const std::string& line : outcome.done) std::printf("%s\n", line.c_str());
  for (const UndoProblem& kept : outcome.setAside) std::printf("set aside %s: %s\n", kept.path.c_str(), kept.reason.c_str());
  for (const UndoProblem& failure : outcome.failures)
    std::printf("failed: %s: %s\n", failure.path.c_str(), failure.reason.c_str());
  std::printf("Steps: %zu\nSet aside: %zu\nFailed: %zu\n", outcome.done.size(), outcome.setAside.size(),
              outcome.failures.size());
  return outcome.failures.empty() && outcome.setAside.empty() ? kExitDone : kExitFindings;
}

}  // namespace kestrel
