// The backup of what the removal of unneeded entries takes away: the entry
// goes into its set's backup zip in the backup folder.
#pragma once

#include "report/found_entries.h"
#include "scanner/scan_context.h"

namespace kestrel {

// Stores the entry (a loose file, a folder with everything below it, or a
// zip member, by its entry) in the backup zip of its set, `entry.setName` +
// ".zip" in the backup folder, as BackUpToZip does: never replacing an
// earlier backup, and true only when the backup read back whole (or there
// was nothing to store, as for an empty folder).
bool BackUpEntry(ScanContext& context, const FoundEntry& entry);

}  // namespace kestrel
