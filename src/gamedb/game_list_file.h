// A game list file in either of its forms: the text format or XML (MAME's
// -listxml output or a Logiqx datfile), told apart by content, not by name.
#pragma once

#include <string>

#include "app/user_interface.h"
#include "gamedb/game_set.h"
#include "gamedb/list_messages.h"
#include "gamedb/romless_machines.h"

namespace kestrel {

// True when the first byte that is not a blank or a line end (after a
// byte-order mark) is '<'. False for an unreadable or blank file.
bool IsXmlGameList(const std::string& path);

// ParseXmlGameList for an XML file, ParseDatfile for any other, with the
// same arguments and result (the text form keeps no machines without ROMs).
bool ParseGameList(GameList& rawGames, const std::string& path, ProgressDialog& progress, bool enableRomOf,
                   ListMessages& messages, RomlessMachines* romless = nullptr);

}  // namespace kestrel
