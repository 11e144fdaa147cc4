#include "cli/run_journal.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "undo/journaled_file_system.h"
#include "undo/run_history.h"

namespace kestrel {

void AddNoUndoOption(CLI::App& command, bool& noUndo) {
  command.add_flag("--no-undo", noUndo, "Keep no undo journal: the run cannot be undone");
}

RunJournal::RunJournal(const std::string& dataFolder, const std::string& command, bool noUndo) {
  const std::string undoFolder = UndoFolder(dataFolder);
  std::vector<RunRecord> runs = ListRuns(undoFolder);
  if (!runs.empty() && !runs.back().journal.ended && !runs.back().journal.undone)
    std::fprintf(stderr, "The run %s (%s) was stopped before its end: \"kestrel-cli undo %s\" reverts it\n",
                 runs.back().id.c_str(), runs.back().journal.command.c_str(), runs.back().id.c_str());
  if (noUndo) {
    std::fputs("This run keeps no undo journal (--no-undo): it cannot be undone\n", stderr);
    return;
  }
  journaled_ = std::make_unique<JournaledFileSystem>(RealFileSystem(), undoFolder, command);
}

RunJournal::~RunJournal() {
  if (journaled_ && !journaled_->Finish())
    std::fprintf(stderr, "The undo journal in '%s' could not be marked as ended\n", journaled_->RunFolder().c_str());
}

FileSystem& RunJournal::fs() { return journaled_ ? static_cast<FileSystem&>(*journaled_) : RealFileSystem(); }

}  // namespace kestrel
