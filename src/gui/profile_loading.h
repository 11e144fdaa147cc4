// Loading a profile over the settings in force. A profile holds the options
// of a collection; the start choice belongs to the user, so it outlasts the
// load (as does what the game data in memory were read from, which the
// settings record does not hold).
#pragma once

#include <string>

#include "settings/settings_record.h"

namespace kestrel {

// Reads the profile at `path` in place of `settings`, keeping the start
// choice. False, with `settings` unchanged, when the profile cannot be read.
bool LoadProfileOverSettings(SettingsRecord& settings, const std::string& path);

}  // namespace kestrel
