// Files of a ROM set that hold a ROM of the family under another name.
#pragma once

#include "gamedb/game_set.h"
#include "scanner/scan_context.h"
#include "scanner/set_lookup.h"

namespace kestrel {

// Classifies every member (or every loose file) of `set` by its CRC-32 and
// appends a WrongNameEntry to the game's list for each file whose contents
// are a ROM of the game (or, in split and merged sets, of its parent or
// clones) but whose name is not that ROM's. Sizes are not compared.
void CheckWrongNames(ScanContext& context, GameSet& game, const SetOnDisk& set);

}  // namespace kestrel
