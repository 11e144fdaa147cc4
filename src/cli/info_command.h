// "kestrel-cli info": loads and validates the game data and prints its
// counts.
#pragma once

#include <string>

#include "gamedb/game_set.h"

namespace kestrel {

class UserInterface;
struct DataOptions;

// Prints the counts to standard output. Returns the exit status: 0, or 2
// when no game data could be had.
int RunInfoCommand(const DataOptions& options, UserInterface& ui);

// The counts as the command prints them, one "Label: value" line each.
std::string DescribeGameCounts(const GameList& database);

}  // namespace kestrel
