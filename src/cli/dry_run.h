// "--dry-run" of the commands that change files (scan with its fixes,
// rebuild, merge, split, unmerge): the run goes all the way on a
// DryRunFileSystem, prints its normal output, then the changes a real run
// makes, and writes nothing: no set, no backup, no logfile, fastscan file,
// fixdat or report.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "platform/dry_run_file_system.h"

namespace CLI {
class App;
}

namespace kestrel {

void AddDryRunFlag(CLI::App& command, bool& dryRun);

class RunJournal;

// The files a run of a command reaches: for a dry run the overlay that
// keeps every change to itself; else the disk, through the undo journal
// of `command` in the data folder unless `noUndo` (see run_journal.h).
class RunFiles {
 public:
  RunFiles(bool dryRun, const std::string& dataFolder, const std::string& command, bool noUndo);
  ~RunFiles();
  FileSystem& fs();
  bool dryRun() const { return overlay_ != nullptr; }
  // For a dry run: a heading, then one line per change a real run makes.
  void PrintChanges(std::FILE* out);

 private:
  std::unique_ptr<DryRunFileSystem> overlay_;
  std::unique_ptr<RunJournal> journal_;
};

}  // namespace kestrel
