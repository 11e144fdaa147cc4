// Cleaning up the work folder an interrupted run left beside a set.
//
// A work folder holds copies only: new sets not yet put in place, whose
// originals are all still in place. An earlier version of Kestrel moved an
// old set into its work folder ("old.zip", "old/") while committing; such
// an original goes back to its place when that is free, and is otherwise
// kept in a backup zip unless the set in place holds its content.
#pragma once

#include <string>
#include <vector>

#include "merger/merge_run.h"
#include "merger/merger.h"

namespace kestrel {

// Removes the work folder of the set `setName` in `folder` once nothing in
// it is the only copy of anything. False, with the work folder left as it
// is, when an original in it could be neither put back nor kept; files
// moved whole into the backup folder are added to `kept`.
bool CleanLeftover(MergeRun& run, const std::string& folder, const std::string& setName, std::vector<KeptFile>& kept);

}  // namespace kestrel
