// Where a game's ROM lives under a set layout: the one rule the rebuilder
// writes by, the scanner checks by and the merger converts by.
//
// It follows the way MAME finds a ROM: in the game's own set, then its
// parent's, then its BIOS set; a device's ROM first in the device's set.
//   - Full non-merged: every ROM lives in the game's own set under its own
//     name, its parent's, BIOS and device ROMs too.
//   - Otherwise a device's ROM lives where the device's own set keeps it
//     (by these rules, in the device's set or the one its `romof` names),
//     under the device's name for it; and a ROM the game's BIOS set holds
//     (same content, under its name or its `merge` name) lives there, under
//     the BIOS set's name for it.
//   - Non-merged: every other ROM lives in the game's own set.
//   - Split and merged: a clone's ROM its parent holds the same way lives
//     in the parent's set, under the parent's name for it.
//   - Split: a clone's other ROMs live in its own set.
//   - Merged: a clone's other ROMs live in the parent's set under their own
//     names, unless the name is taken by another content of the family
//     (ClashesInFamily): such a ROM stays in the clone's own set.
// ROMs without a known dump follow the same rule; they just never make a
// set needed.
#pragma once

#include <string>
#include <vector>

#include "gamedb/game_set.h"
#include "gamedb/set_layout.h"

namespace kestrel {

// The set a ROM lives in and the name it bears there.
struct RomHome {
  const GameSet* set = nullptr;
  std::string name;
};

// Where `rom`, a ROM of `game`, lives under `layout`.
RomHome HomeOf(const GameList& database, const GameSet& game, const RomEntry& rom, SetLayout layout);

// The sets a ROM of `game` is looked for in under `layout`, in the order MAME
// looks in them: its own; in split and merged sets its parent's; unless full
// non-merged, where every set is complete by itself, its BIOS set and its
// device sets.
std::vector<const GameSet*> SetsSearchedFor(const GameList& database, const GameSet& game, SetLayout layout);

// The sets of the devices `game` uses, each followed by the set its `romof`
// names (where the device's ROMs may live), once each.
std::vector<const GameSet*> DeviceSetsOf(const GameList& database, const GameSet& game);

// The games whose ROMs `set` may hold under `layout`: itself, and in the
// split and merged layouts its clones. (A BIOS or device set holds only ROMs
// it lists itself.)
std::vector<const GameSet*> GamesSharing(const GameList& database, const GameSet& set, SetLayout layout);

// Whether `layout` puts any ROM with a known dump into `set`.
bool HoldsAnyDump(const GameList& database, const GameSet& set, SetLayout layout);

// Whether every set of `layout` holds all the ROMs of its own game: the
// non-merged layouts, where no set is shared by a family.
bool KeepsFamiliesApart(SetLayout layout);

}  // namespace kestrel
