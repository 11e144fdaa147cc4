// "kestrel-cli profile show" and "kestrel-cli profile save".
#pragma once

#include <string>

#include "cli/merge_command.h"
#include "cli/rebuild_command.h"
#include "cli/scan_command.h"

namespace CLI {
class App;
}

namespace kestrel {

class UserInterface;

// What "profile save" takes: every option of the scans under its own name,
// those of the rebuilder as "--rebuild-...", those of the merger as
// "--merge-..." (their names clash with the scans'), and the merger's mode,
// which the merge commands take from their own name.
struct ProfileSaveOptions {
  ScanOptions scan;  // holds the game data options and --profile
  RebuildOptions rebuild;
  MergeOptions merge;
  std::string mergeMode;  // split, merged
};

void AddProfileSaveOptions(CLI::App& command, ProfileSaveOptions& options);

// Prints every stored field of the profile as it stands in the file,
// "name = value" a line. Returns the exit status.
int ShowProfile(const std::string& path);

// Writes a profile made of the defaults and the given options (game data,
// paths, folders, every scanner, rebuilder and merger option) to
// `options.scan.data.profile`, with the selection of the game data when a
// source is given. Returns the exit status.
int SaveProfileFromOptions(const ProfileSaveOptions& options, UserInterface& ui);

}  // namespace kestrel
