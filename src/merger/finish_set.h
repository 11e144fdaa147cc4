// Turning collected files into new sets, and putting a family's new sets in
// place of the old ones.
//
// A new set is first built inside its work folder, beside the old set,
// which stays untouched. Only when every new set of a family is built are
// they moved into place, each old set being moved into its work folder on
// the way; a failure on the way moves everything back. The old sets are
// deleted with the work folders once the family is in place.
#pragma once

#include <vector>

#include "merger/merge_run.h"
#include "merger/work_set.h"

namespace kestrel {

// Builds the new set of `set` in its work folder: a zip (Zip Files) or a
// folder of loose files. Without Clean Set the new set also holds what the
// old one held beside the collected files (old zip members of another name,
// byte-wise, for a zip; the old folder's other files for a folder). A set
// that collected nothing builds nothing: its old set stays as it is, unless
// Clean Set is on and the layout gives the set no ROM (`holdsNoRom`), when
// committing removes it.
//
// `built` tells whether the set can be committed: not after a failed zip or
// a failed extraction, whose set would lack what the old set holds. kStop
// when the user chose to end the run: after "Disk Is Full !" while copying
// a loose file, or Yes to the question after a failed extraction or a
// failed zip.
StepResult FinishSet(MergeRun& run, WorkSet& set, bool& built);

// Puts every built set of a family in place, all or none: false (with the
// old sets back where they were) when one cannot be put in place. The work
// folders stay; DiscardWorkSets removes them. An old set that cannot be
// moved back stays in its work folder, and the family's work folders are
// marked to be kept, so the next run leaves the family alone.
bool CommitSets(SetLocator& locator, std::vector<WorkSet>& sets, bool cleanSet);

// Removes the work folders with everything in them, the old sets that a
// commit moved there included; a folder marked to be kept stays.
void DiscardWorkSets(std::vector<WorkSet>& sets);

}  // namespace kestrel
