// The games list of the settings dialog: one line per game of the database,
// whose tick is the game's `selected`. Ticking a game can carry over to its
// whole family, and a filter selects the games whose sets are on disk.
#pragma once

#include <string>

#include "gamedb/game_set.h"
#include "settings/settings_record.h"

namespace kestrel {

// Rebuilds record.gameList from `database`: text "description <name>".
void BuildGameList(SettingsRecord& record, const GameList& database);

// Sets game `index` selected or not, with its line; with `parentClones` on
// the whole family (parent and every clone) follows.
void SetGameSelected(SettingsRecord& record, GameList& database, int index, bool selected);

// Ticks every line of the shown list (or clears it); for the games list
// each game's `selected` follows.
void SetAllLinesEnabled(SettingsRecord& record, GameList& database, bool enabled);

// Selects the games whose sets exist in the enabled ROM paths (games with
// ROMs) or sample paths (games with samples), by the ';'-separated wildcard
// patterns of `filter`. With `clearFirst` every game is unselected before
// the first pattern. An empty filter changes nothing.
void RunGamesFilter(SettingsRecord& record, GameList& database, const std::string& filter,
                    bool clearFirst);

}  // namespace kestrel
