// Warns before a scan about ROM or sample paths that hold no set of any
// known game, which usually means a wrong path in the settings.
#pragma once

#include "gamedb/game_set.h"

namespace kestrel {

struct SettingsRecord;
class UserInterface;

// True to go on with the scan. Every enabled path is checked; each empty
// one asks OK/Cancel, and the last answer given decides.
bool CheckPathWarnings(const SettingsRecord& settings, const GameList& database,
                       UserInterface* owner);

}  // namespace kestrel
