// The disks of one game (its CHD files) in the ROM paths: there, readable,
// of the listed SHA-1; and the CHD files in its set folders that no disk
// names. A CHD is never zipped: it lies as NAME.chd in the set's folder,
// beside the set's zip when the ROMs are zipped. Only each file's header is
// read.
#pragma once

#include <string_view>

#include "gamedb/game_set.h"
#include "report/scan_results.h"
#include "scanner/scan_context.h"

namespace kestrel {

// Whether a file name is a disk image's: it ends with ".chd" in any case.
// The ROM checks leave such files to the disk check, which never reads
// them whole.
bool IsDiskFileName(std::string_view name);

// Looks for every disk of `game` in every ROM path, where the set layout
// keeps it and in the other sets MAME looks in (the game's own, and unless
// non-merged its parent's and BIOS set), and records in `scan.disks` the
// best copy found.
void CheckGameDisks(ScanContext& context, const GameSet& game, SetScan& scan);

// Records in `scan.unneededDisks` every CHD file in the game's own set
// folders that neither the game nor (under the layout) a game sharing the
// set names there.
void CheckUnneededDisks(ScanContext& context, const GameSet& game, SetScan& scan);

}  // namespace kestrel
