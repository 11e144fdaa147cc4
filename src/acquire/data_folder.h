// Where the program keeps its start profile, data caches and emulator
// listings.
#pragma once

#include <string>

namespace kestrel {

// The program's own folder when files can be written there, as on the
// system the collections come from, unless that folder is named "bin": an
// installed program (/usr/bin, or any install prefix's bin/) shares its
// folder with other programs and keeps no data there. Otherwise
// $XDG_DATA_HOME/kestrel/ or ~/.local/share/kestrel/, created when missing.
// Ends with '/'.
std::string DefaultDataFolder();

}  // namespace kestrel
