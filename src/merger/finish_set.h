// Turning collected files into new sets inside their work folders, beside
// the old sets, which stay untouched (commit_family.h puts them in place).
#pragma once

#include <vector>

#include "merger/merge_run.h"
#include "merger/work_set.h"

namespace kestrel {

// Builds the new set of `set` in its work folder: a zip (Zip Files) or a
// folder of loose files. Without Clean Set the new set also holds what the
// old one held beside the collected files (old zip members of another name,
// byte-wise, for a zip; the old folder's other files stay where they are,
// for a folder). A set that collected nothing builds nothing.
//
// `failure` says, naming the set, why the set was not built (a failed zip,
// an old zip that cannot be read, a file that could not be written); the
// set is then not to be committed, as it would lack what the old set holds.
// kStop when the user chose to end the run: after "Disk Is Full !" while
// copying a loose file, or Yes to the question after a failed extraction or
// a failed zip.
StepResult FinishSet(MergeRun& run, WorkSet& set, std::string& failure);

// Removes the work folders with everything in them: copies only.
void DiscardWorkSets(MergeRun& run, const std::vector<WorkSet>& sets);

}  // namespace kestrel
