// Files of a ROM set that hold a ROM of the family under another name.
#pragma once

#include <vector>

#include "gamedb/game_set.h"
#include "report/found_entries.h"
#include "scanner/scan_context.h"
#include "scanner/set_lookup.h"

namespace kestrel {

// Classifies every member (or every loose file) of `set` by its CRC-32 and
// appends a WrongNameEntry to `found` for each file whose contents are a
// ROM of the game (or, in split and merged sets, of its parent or clones)
// but whose name is not that ROM's. Sizes are not compared.
void CheckWrongNames(ScanContext& context, const GameSet& game, const SetOnDisk& set,
                     std::vector<WrongNameEntry>& found);

}  // namespace kestrel
