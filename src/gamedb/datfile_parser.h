// Reads the game list text that MAME prints for -listinfo, that RAINE
// prints per game, and that datfiles hold. Only what the game database needs
// is taken; every other field and block is skipped by counting parentheses,
// so emulators may add fields freely.
#pragma once

#include <string>

#include "app/user_interface.h"
#include "gamedb/game_set.h"
#include "gamedb/list_messages.h"
#include "gamedb/next_token.h"

namespace kestrel {

// Empties `rawGames`, then appends one set per complete game block that has
// a name, a description and at least one ROM, in file order. True when the
// file was read to its end and a set was kept; false for a missing file, a
// file without usable blocks, or a cancel (the sets read so far stay).
// `enableRomOf` lets "romof" name the parent, as RAINE's listings need.
// Names or titles cut for their length are noted in `messages`.
bool ParseDatfile(GameList& rawGames, const std::string& path, ProgressDialog& progress, bool enableRomOf,
                  ListMessages& messages);

}  // namespace kestrel
