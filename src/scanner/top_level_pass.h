// Entries directly inside the ROM and sample paths that are no set of any
// game: renamed sets, leftovers, stray files.
#pragma once

#include "scanner/scan_context.h"

namespace kestrel {

// Fills the state's list of unknown entries with every entry of the paths
// that names no game, or is another spelling of a set beside the set
// spelled as listed, except the shared "neogeo" (ROM paths) and "ym3812"
// (sample paths) sets, the sets MAME reads for machines without ROMs of
// their own (ROM paths), nested ROM or sample paths, and the backup,
// temporary, program and misc folders.
void CollectUnknownEntries(ScanContext& context);

// A fresh "<unknown>" pseudo-game.
GameSet MakeUnknownGame();

}  // namespace kestrel
