// Turns the parser's raw sets into the game database: ordered by name,
// without duplicates, with every parent and sample reference either resolved
// or removed, and with the derived fields the tools rely on.
#pragma once

#include "app/user_interface.h"
#include "gamedb/game_set.h"
#include "gamedb/list_messages.h"

namespace kestrel {

// What ValidateGames reports, by the "Displa&y LI Errors" setting.
enum ListErrorLevel : int {
  kShowNoListErrors = 0,
  kShowSetErrors = 1,
  kShowRomErrors = 2,  // and sample errors, on top of the set errors
};

// Empties `database` and moves the sets of `rawGames` into it. Problems of
// the list are repaired whether or not they are shown; those the level
// `displayLiErrors` shows are appended to `messages`. False when the user
// cancelled (the caller then empties both lists); `rawGames` is empty after
// a full run.
bool ValidateGames(GameList& rawGames, GameList& database, ProgressDialog& progress, int displayLiErrors,
                   ListMessages& messages);

}  // namespace kestrel
