// "kestrel-cli profile show" and "kestrel-cli profile save".
#pragma once

#include <string>

namespace kestrel {

class UserInterface;
struct ScanOptions;

// Prints every stored field of the profile as it stands in the file,
// "name = value" a line. Returns the exit status.
int ShowProfile(const std::string& path);

// Writes a profile made of the defaults and the given options (game data,
// paths, folders and every scanner option) to `options.data.profile`, with
// the selection of the game data when a source is given. Returns the exit
// status.
int SaveProfileFromOptions(const ScanOptions& options, UserInterface& ui);

}  // namespace kestrel
