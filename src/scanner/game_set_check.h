// Whether a game's set is on disk at a set path, and spelled right.
#pragma once

#include <string>

#include "gamedb/game_set.h"
#include "scanner/scan_context.h"
#include "report/scan_results.h"

namespace kestrel {

// Marks the set found when `setPath` + ".zip" is a file or `setPath` a
// folder; with the case check, compares the name as the file system spells
// it with the game's name (or, for a clone in split or merged sets, its
// parent's name, whose set may hold the clone's files). The findings go
// into `scan`.
void CheckGameSet(ScanContext& context, GameSet& game, SetScan& scan, const std::string& setPath);

}  // namespace kestrel
