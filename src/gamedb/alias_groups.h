// Groups the ROMs of each parent/clone family by content, so that the
// scanner can find a ROM stored under another name of the same content.
#pragma once

#include "gamedb/game_set.h"

namespace kestrel {

// Gives every ROM with a known dump (crc not 0) its family's group of names
// with the same crc and size; a family is a parent with all its clones, or a
// set of its own. Each group is stored once and shared by its ROMs, so time
// and memory stay near linear even when one family holds thousands of copies
// of one content. ROMs whose content has no other name get no group.
// Needs valid `index`, `hasParent` and `parentIndex` fields.
void GroupAliases(GameList& database);

}  // namespace kestrel
