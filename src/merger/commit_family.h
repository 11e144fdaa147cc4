// Putting a family's new sets in place of its old sets, and with Remove Old
// deleting its sets from the other folders.
//
// The new sets are read back, then put in place one after the other in the
// order given (a merged set before the clone sets it takes over; clone sets
// before the parent set they are split from). A new zip is renamed over the
// old zip and a new file over the old file of its name, so that at every
// moment the old one or the new one is in place: a work folder never holds
// the only copy of anything, and a crash leaves only copies behind.
//
// Whatever old content a step takes away (a zip member, a loose file) must
// be held by a new set in place by then; what is not goes into a backup zip,
// written and read back, before the first step. Content that can be kept
// nowhere fails the family with nothing changed. An old file that cannot be
// read is moved whole into the backup folder, never deleted.
//
// Content held by a set no run changes (a BIOS set) counts as kept too.
//
// Remove Old, once every set is in place, deletes the family's other sets
// under the same rule; one that cannot be read, or whose content can be kept
// nowhere, stays where it is and is noted in the outcome.
#pragma once

#include <string>
#include <vector>

#include "merger/merge_run.h"
#include "merger/merger.h"
#include "merger/work_set.h"

namespace kestrel {

// A set of the family that Remove Old deletes from every active ROM path
// but `keptIn`, the folder its new set went to ("" keeps none).
struct SetToRemove {
  std::string name;
  std::string keptIn;
};

// What a family's commit takes into account besides its new sets.
struct FamilyCommit {
  std::vector<SetToRemove> removeOld;  // empty without Remove Old
  // Sets no family's run changes (the BIOS sets the family uses): what they
  // hold is kept, whatever the new sets leave out.
  std::vector<std::string> unchangedSets;
};

// Commits the built `sets`, then removes `family.removeOld`. "" when the family is
// in place; otherwise why not, naming the set (the sets already in place
// stay: they took away only what is kept elsewhere). Files left or moved
// rather than removed are added to `outcome.kept`. The work folders stay;
// DiscardWorkSets removes them.
std::string CommitFamily(MergeRun& run, std::vector<WorkSet>& sets, const FamilyCommit& family, MergeOutcome& outcome);

}  // namespace kestrel
