#include "cli/dry_run.h"

#include <CLI/CLI.hpp>

namespace kestrel {

void AddDryRunFlag(CLI::App& command, bool& dryRun) {
  command.add_flag("--dry-run", dryRun, "Change nothing; list every change a real run makes, in order");
}

RunFiles::RunFiles(bool dryRun) {
  if (dryRun) overlay_ = std::make_unique<DryRunFileSystem>();
}

FileSystem& RunFiles::fs() { return overlay_ ? *overlay_ : RealFileSystem(); }

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
