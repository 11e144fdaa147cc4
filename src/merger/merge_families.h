// The two ways a family is rebuilt: into one merged set, or into a parent
// set and clone sets (split or non-merged).
//
// Each ROM goes where rom_home.h says the layout keeps it. A game's BIOS
// ROMs live in its BIOS set, which no other family's run changes: merged
// and split sets never take them, and a non-merged set takes them from the
// BIOS set, under the game's names for them.
#pragma once

#include "gamedb/game_set.h"
#include "gamedb/set_layout.h"
#include "merger/merge_run.h"
#include "merger/merger.h"

namespace kestrel {

// Builds the merged set of the parent `parent`, named after it, from every
// set of the family, and records the family in `outcome`. kStop ends the run.
// A family head without clones (a game using a BIOS set) is a family of one.
StepResult MergeFamily(MergeRun& run, const GameSet& parent, MergeOutcome& outcome);

// Builds the parent's set and one set per clone, split or non-merged
// (`layout`); a split clone set holds only the clone's ROMs that the parent
// lacks, a non-merged one all of them.
StepResult RebuildFamily(MergeRun& run, const GameSet& parent, SetLayout layout, MergeOutcome& outcome);

}  // namespace kestrel
