// "kestrel-cli info": loads and validates the game data and prints its
// counts.
#pragma once

#include <string>

#include "gamedb/game_set.h"

namespace kestrel {

// The counts as the command prints them, one "Label: value" line each.
std::string DescribeGameCounts(const GameList& database);

}  // namespace kestrel
