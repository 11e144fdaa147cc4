// Where the split and merged layouts keep a game's BIOS ROMs: in its BIOS
// set only, the way a clone's shared ROMs live in its parent's set. The
// non-merged layout keeps every ROM in the game's own set.
#pragma once

#include "gamedb/game_set.h"
#include "scanner/scan_context.h"

namespace kestrel {

// The BIOS set's copy of `rom` when the layout keeps it there; null when
// the ROM lives with the game.
const RomEntry* BiosCopyOf(const ScanContext& context, const GameSet& game, const RomEntry& rom);

// Whether the layout puts any file into the set of the game's name. Games
// whose every ROM lives in a parent's or BIOS set have none, and an absent
// set is then no finding.
bool LayoutFillsOwnSet(const ScanContext& context, const GameSet& game);

}  // namespace kestrel
