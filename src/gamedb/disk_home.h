// Where a game's disk (its CHD file) lives under a set layout: the rule the
// scanner checks by, as rom_home.h is for ROMs.
//
// A disk lives as NAME.chd in the folder of its set in a ROM path, beside
// the set's zip when the ROMs are zipped; CHDs are never zipped.
//   - Non-merged: every disk lives in the game's own set under its name.
//   - Split and merged: a disk with `merge` that the parent or the BIOS set
//     lists too (the `merge` name, the same SHA-1) lives where that set's
//     disk lives, under that set's name for it.
//   - Merged: a clone's other disks live in the parent's set, unless the
//     parent lists another disk of that name.
//   - Otherwise the game's own set.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gamedb/game_set.h"
#include "gamedb/set_layout.h"

namespace kestrel {

// The set a disk lives in and the name (without ".chd") it bears there.
struct DiskHome {
  const GameSet* set = nullptr;
  std::string name;
};

// Where `disk`, a disk of `game`, lives under `layout`.
DiskHome DiskHomeOf(const GameList& database, const GameSet& game, const DiskEntry& disk, SetLayout layout);

// The disk of `set` named `name` (without case, an exact match preferred);
// null when none.
const DiskEntry* FindDisk(const GameSet& set, std::string_view name);

// Whether `layout` puts any disk with a known dump into `set`.
bool HoldsAnyDiskDump(const GameList& database, const GameSet& set, SetLayout layout);

}  // namespace kestrel
