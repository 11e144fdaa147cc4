// A machine's device ROMs. MAME looks for a device's ROMs in the device's
// own set first (then in the machine's sets), and its lists name only the
// device (`device_ref`), not its ROMs. The database adds each device ROM to
// every set that uses the device, marked with where the device holds it, so
// that every tool sees one list of ROMs per set and the layout rule
// (rom_home.h) says where each lives.
#pragma once

#include "gamedb/game_set.h"

namespace kestrel {

// Turns each set's `deviceRefs` into `devices` (device sets with ROMs, never
// the set itself), marks the device ROMs a set lists itself and adds those
// it does not list. A ROM the set lists under a device ROM's name with
// another content stays the set's own. The sets' ROMs stay sorted by name;
// run it before the BIOS relations, which index into them.
void RelateDeviceRoms(GameList& database);

}  // namespace kestrel
