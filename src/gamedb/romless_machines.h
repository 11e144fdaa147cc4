// The machines a list names that have no ROM or disk of their own. The game
// database leaves them out, as no set is needed for them; MAME's audit still
// names each one (a machine without ROMs at all is "best available", one
// with device ROMs only is judged by them), so their names are kept apart
// for the verdicts alone.
#pragma once

#include <string>
#include <vector>

#include "gamedb/game_set.h"

namespace kestrel {

struct RomlessMachine {
  std::string name;
  std::string cloneOf;                  // empty for a machine without a parent
  std::vector<std::string> deviceRefs;  // the list's `device_ref` names
};

using RomlessMachines = std::vector<RomlessMachine>;

// Moves the sets without ROMs or disks out of `rawGames`, keeping the
// others in order. The machines among them (not devices, not software
// items) are appended to `romless` when it is given.
void TakeRomlessMachines(GameList& rawGames, RomlessMachines* romless);

}  // namespace kestrel
