// The per-game selection a profile carries, applied to the data in memory.
#pragma once

#include "gamedb/game_set.h"
#include "settings/settings_record.h"

namespace kestrel {

// Copies the stored selection into `database`, whose data CRC is `dataCrc`,
// when it was saved for the same data: the data CRCs and the game counts
// agree and the count is not 0. Otherwise the database keeps its selection.
// Returns whether it applied.
bool ApplyGameSelection(const SettingsRecord& record, uint32_t dataCrc, GameList& database);

}  // namespace kestrel
