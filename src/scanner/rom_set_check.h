// The ROMs of one game in one set on disk: present, spelled right, of the
// right length and checksum; files under a wrong name; 0-CRC stand-ins.
#pragma once

#include <string>

#include "gamedb/game_set.h"
#include "scanner/scan_context.h"

namespace kestrel {

// Checks the game's ROMs against the set at `setPath`. `isParentSet` is set
// when that is the parent's set of a clone in split or merged sets: ROMs
// found there count for the clone, but the set's other files are not the
// clone's business, and no stand-ins are made there.
void CheckRomSet(ScanContext& context, GameSet& game, const std::string& setPath,
                 bool isParentSet);

}  // namespace kestrel
