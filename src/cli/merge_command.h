// "kestrel-cli merge", "split" and "unmerge".
#pragma once

#include <optional>
#include <string>

#include "cli/data_options.h"

namespace CLI {
class App;
}

namespace kestrel {

class UserInterface;

// The merger options as given on the command line. Clean Set and Remove
// Old change or delete the user's sets, so they are off unless asked for;
// the set form (zip or folder) keeps the profile's choice unless given.
struct MergeOptions {
  DataOptions data;
  std::optional<bool> zip;  // --zip / --folders
  bool cleanSet = false;
  bool removeOld = false;
  std::string destination;  // "" keeps every set where it is
};

void AddMergeOptions(CLI::App& command, MergeOptions& options);

// What the three commands build.
enum class MergeLayout { kMerged, kSplit, kNonMerged };

// Runs the merger, prints one line per family handled, skipped or failed;
// 0, or 2 when the run cannot start.
int RunMergeCommand(const MergeOptions& options, MergeLayout layout, UserInterface& ui);

}  // namespace kestrel
