// The undo journal of a command that changes files (scan with fixes,
// fastscan, rebuild, merge, split, unmerge): the FileSystem its tool is
// handed journals every change into DATA/undo/RUN-ID/, and the run is
// marked as ended when the command is done. With --no-undo the tool gets
// the disk itself, and the command says so before it starts.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace CLI {
class App;
}

namespace kestrel {

class JournaledFileSystem;

void AddNoUndoOption(CLI::App& command, bool& noUndo);

class RunJournal {
 public:
  // Also names a run of the data folder that was stopped before its end,
  // so that the user can revert it.
  RunJournal(const std::string& dataFolder, const std::string& command, bool noUndo);
  // Marks the run as ended (a stopped process never gets here).
  ~RunJournal();
  RunJournal(const RunJournal&) = delete;
  RunJournal& operator=(const RunJournal&) = delete;

  FileSystem& fs();

 private:
  std::unique_ptr<JournaledFileSystem> journaled_;
};

}  // namespace kestrel
