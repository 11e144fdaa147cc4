// Taking ROM, sample and other paths from the "[directory]" section of an
// emulator's configuration file into the settings' path lists.
#pragma once

#include <string>

#include "settings/settings_record.h"

namespace kestrel {

// A "rompath" key adds to `romPaths`, "samplepath" to `samplePaths`, every
// other key to `miscPaths`; a value may name several folders separated by
// ';'. Relative folders count from the configuration file's folder; a folder
// that exists is added as its absolute path and enabled, one that does not
// is added as written and disabled. Paths a list already holds (without
// case) are not added twice. False when the file cannot be read.
bool ImportPaths(const std::string& configPath, SettingsRecord& settings);

}  // namespace kestrel
