#include "cli/dry_run.h"

#include <CLI/CLI.hpp>

#include "cli/run_journal.h"

namespace kestrel {

void AddDryRunFlag(CLI::App& command, bool& dryRun) {
  command.add_flag("--dry-run", dryRun, "Change nothing; list every change a real run makes, in order");
}

// A dry run changes nothing, so it has nothing to undo.
RunFiles::RunFiles(bool dryRun, const std::string& dataFolder, const std::string& command, bool noUndo) {
  if (dryRun) {
    overlay_ = std::make_unique<DryRunFileSystem>();
  } else {
    journal_ = std::make_unique<RunJournal>(dataFolder, command, noUndo);
  }
}

RunFiles::~RunFiles() = default;

FileSystem& RunFiles::fs() { return overlay_ ? *overlay_ : journal_->fs(); }

void RunFiles::PrintChanges(std::FILE* out) {
  if (!overlay_) return;
  std::vector<FileChange> changes = overlay_->Changes();
  if (changes.empty()) {
    std::fputs("Dry run, nothing written: a real run changes nothing\n", out);
    return;
  }
  std::fprintf(out, "Dry run, nothing written: a real run makes these %zu changes\n", changes.size());
  for (const FileChange& change : changes) std::fprintf(out, "%s\n", DescribeChange(change).c_str());
}

}  // namespace kestrel
