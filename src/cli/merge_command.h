// "kestrel-cli merge", "split" and "unmerge".
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "cli/data_options.h"
#include "gamedb/set_layout.h"

namespace CLI {
class App;
}

namespace kestrel {

class UserInterface;
struct MergeOutcome;
struct SettingsRecord;

// The merger options as given on the command line; unset ones are not
// given.
struct MergeOptions {
  DataOptions data;
  std::optional<bool> zip;  // --zip / --folders
  std::optional<bool> cleanSet, removeOld;
  std::optional<bool> torrentZip;  // --torrentzip / --no-torrentzip
  std::string destination;  // "" keeps every set where it is
  bool dryRun = false;  // --dry-run: change nothing, list the changes
  bool full = false;        // unmerge only: full non-merged, BIOS and device ROMs in every set
  bool noUndo = false;      // keep no undo journal
};

// Registers the game data options and the merger's own options.
void AddMergeOptions(CLI::App& command, MergeOptions& options);

// Registers only the merger's own options, each long name with `prefix`
// after its "--" (and after "--no-" for a switch).
void AddMergeToolOptions(CLI::App& command, MergeOptions& options, const std::string& prefix);

// Writes the merger options that were given into `settings` (a destination
// also chooses placing the sets there); the others keep their value.
void ApplyMergeOptions(const MergeOptions& options, SettingsRecord& settings);

// Prints to `out` one line per family handled, skipped (naming the work
// folder in the way) or failed (with the reason), whether the run stopped
// early, then the counts. Returns kExitDone only when no family was skipped
// or failed and the run went to its end.
int ReportMergeOutcome(const MergeOutcome& outcome, std::FILE* out);

// Runs the merger, building sets of `layout`, and reports its outcome; kExitRefused when the run cannot
// start.
int RunMergeCommand(const MergeOptions& options, SetLayout layout, UserInterface& ui);

}  // namespace kestrel
