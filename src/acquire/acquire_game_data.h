// Filling the game database from the data source the settings name: the
// MAME executable (asked with -listinfo), the RAINE executable (-gamelist,
// then -gameinfo for every game) or a datfile. The validated result is kept
// in a data cache per source type, keyed by the CRC-32 of the source file,
// so an unchanged source is read back from one file instead of being run.
#pragma once

#include <string>

#include "app/user_interface.h"
#include "gamedb/game_set.h"
#include "gamedb/list_messages.h"
#include "settings/loaded_data.h"
#include "settings/settings_record.h"

namespace kestrel {

// File names inside the data folder.
inline constexpr char kMameCacheName[] = "_exedat";
inline constexpr char kDatfileCacheName[] = "_datdat";
inline constexpr char kRaineCacheName[] = "_raindat";
inline constexpr char kMameListingName[] = "kpfdata.dat";
inline constexpr char kRaineGameListName[] = "_rgames.tmp";
inline constexpr char kRaineListingName[] = "rainlist.dat";

// True when valid data from the selected source are loaded afterwards;
// `loaded` then names that source and its data CRC. When `loaded` says that
// source's data are already loaded from the same path, nothing is read and
// `database` is left alone. On failure both lists are empty, `loaded` names
// no data, and the source's path in the settings is emptied, so that the
// user enters it again; the caller tells the user. What was wrong with a
// list read from its source is appended to `listMessages`, for the caller
// to show (a list served from the cache was checked when it was cached).
// `dataFolder` ends with '/' and holds caches and listings.
bool AcquireGameData(SettingsRecord& settings, LoadedData& loaded, GameList& rawGames, GameList& database,
                     UserInterface* owner, const std::string& dataFolder, ListMessages& listMessages);

}  // namespace kestrel
