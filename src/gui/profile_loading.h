// Loading a profile over the settings in force. A profile holds the options
// of a collection; the start choice belongs to the user, and the identity
// of the game data to what is in memory, so both outlast the load.
#pragma once

#include <string>

#include "settings/settings_record.h"

namespace kestrel {

// Reads the profile at `path` in place of `settings`, keeping the start
// choice and the identity of the loaded game data (dataCrc, the loaded
// source paths and kinds), so that data already in memory are neither read
// again nor shown as missing, and the profile's selection applies to them
// when it was saved for them. False, with `settings` unchanged, when the
// profile cannot be read.
bool LoadProfileOverSettings(SettingsRecord& settings, const std::string& path);

}  // namespace kestrel
