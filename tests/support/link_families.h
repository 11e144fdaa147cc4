// Links a hand-made game list the way validation does: sorted by name, each
// clone tied to its parent, and a clone's ROM in its parent only where the
// parent has the same ROM, name and content.
#pragma once

#include <algorithm>

#include "gamedb/game_set.h"

namespace kestrel::testing {

inline void LinkFamilies(GameList& database) {
  std::stable_sort(database.begin(), database.end(), LessByNameNoCase);
  for (size_t i = 0; i < database.size(); ++i) database[i].index = static_cast<int>(i);
  for (GameSet& game : database) {
    if (!game.hasParent) continue;
    GameSet& parent = database[*FindGame(database, game.cloneOf)];
    game.parentIndex = parent.index;
    parent.isParent = true;
    parent.clones.push_back({game.description, game.index});
    parent.cloneCount++;
    for (RomEntry& rom : game.roms) {
      int same = FindRom(parent, rom.name);
      rom.inParent = same >= 0 && parent.roms[same].crc == rom.crc && parent.roms[same].size == rom.size;
    }
  }
}

}  // namespace kestrel::testing
