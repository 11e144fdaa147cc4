// "kestrel-cli rebuild".
#pragma once

#include <optional>
#include <string>

#include "cli/data_options.h"

namespace CLI {
class App;
}

namespace kestrel {

class UserInterface;

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
};

void AddRebuildOptions(CLI::App& command, RebuildOptions& options);

// Exit statuses of a rebuild.
enum RebuildExit { kRebuildDone = 0, kRebuildStopped = 1, kRebuildNotRun = 2 };

// Runs the rebuilder and prints a summary: source files seen, matched and
// skipped, ROMs placed, sets written (and sources removed). 2 when the data,
// the folders or the logfile refuse the run, 1 when it was stopped.
int RunRebuildCommand(const RebuildOptions& options, UserInterface& ui);

}  // namespace kestrel
