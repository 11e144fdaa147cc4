// "kestrel-cli profile show" and "kestrel-cli profile save".
#pragma once

#include <string>

namespace kestrel {

class UserInterface;
struct DataOptions;

// Prints every stored field of the profile as it stands in the file,
// "name = value" a line. Returns the exit status.
int ShowProfile(const std::string& path);

// Writes a profile made of the defaults and the given options to
// `options.profile`, with the selection of the game data when a source is
// given. Returns the exit status.
int SaveProfileFromOptions(const DataOptions& options, UserInterface& ui);

}  // namespace kestrel
