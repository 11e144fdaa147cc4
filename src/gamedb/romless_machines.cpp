#include "gamedb/romless_machines.h"

#include <algorithm>

namespace kestrel {
namespace {

bool IsRomless(const GameSet& game) { return game.roms.empty() && game.disks.empty(); }

// MAME audits machines only: a device without ROMs is part of a machine,
// and a software item without ROMs is no item to load.
bool IsAuditedByMame(const GameSet& game) { return !game.isDevice && game.rules == ListRules::kMame; }

}  // namespace

void TakeRomlessMachines(GameList& rawGames, RomlessMachines* romless) {
  if (romless != nullptr) {
    for (GameSet& game : rawGames)
      if (IsRomless(game) && IsAuditedByMame(game))
        romless->push_back({game.name, game.cloneOf, std::move(game.deviceRefs)});
  }
  rawGames.erase(std::remove_if(rawGames.begin(), rawGames.end(), IsRomless), rawGames.end());
}

}  // namespace kestrel
