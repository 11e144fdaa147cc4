// "kestrel-cli rebuild".
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "cli/data_options.h"

namespace CLI {
class App;
}

namespace kestrel {

class UserInterface;
struct RebuildOutcome;
struct SettingsRecord;

// The rebuilder's options as given on the command line; unset ones keep
// the profile's (or the default) value.
struct RebuildOptions {
  DataOptions data;
  std::string source;
  std::string destination;
  std::string setType;    // non-merged, split, merged
  std::string gameTypes;  // arcade, neogeo, both-bios
  std::string logfile;
  std::optional<bool> zip;  // --zip / --folders
  std::optional<bool> tildeCrcs, zeroCrcs, recursive, removeSources;
  std::optional<bool> torrentZip;  // --torrentzip / --no-torrentzip
  bool noUndo = false;             // keep no undo journal
  bool dryRun = false;  // --dry-run: change nothing, list the changes
};

// Registers the game data options and the rebuilder's own options.
void AddRebuildOptions(CLI::App& command, RebuildOptions& options);

// Registers only the rebuilder's own options, each long name with `prefix`
// after its "--" (and after "--no-" for a switch): "profile save" offers
// them as "--rebuild-source", "--no-rebuild-recursive", ...
void AddRebuildToolOptions(CLI::App& command, RebuildOptions& options, const std::string& prefix);

// Writes the rebuilder options that were given into `settings`; the others
// keep the value they have.
void ApplyRebuildOptions(const RebuildOptions& options, SettingsRecord& settings);

// Prints to `out` one line per source or set the run could not handle, with
// the reason, then the summary: source files seen, matched and skipped, ROMs
// placed, sets written, (sources removed,) failures. Returns kExitDone only
// when the run went through every source and nothing failed.
int ReportRebuildOutcome(const RebuildOutcome& outcome, bool removingSources, std::FILE* out);

// Runs the rebuilder and reports its outcome; kExitRefused when the data,
// the folders or the logfile refuse the run.
int RunRebuildCommand(const RebuildOptions& options, UserInterface& ui);

}  // namespace kestrel
