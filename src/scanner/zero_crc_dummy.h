// Stand-in files for ROMs of which no good dump exists: the emulator only
// needs a file of the right name and length, so zeros do.
#pragma once

#include "gamedb/game_set.h"
#include "scanner/scan_context.h"
#include "report/scan_results.h"
#include "scanner/set_lookup.h"

namespace kestrel {

// Writes `rom.size` zero bytes under the ROM's name into the set (added to
// its zip, or copied into its folder) by way of the temporary folder, and
// reads a zip set again. False when any step failed; the ROM then stays
// missing. Nothing is written where the file system would keep less than
// 1 GiB and 5 % of its size free: the ROM's `scan` is then marked refused,
// and the user is told once per scan.
bool PlaceZeroCrcDummy(ScanContext& context, const RomEntry& rom, RomScan& scan, SetOnDisk& set);

}  // namespace kestrel
