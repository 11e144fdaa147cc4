// The backup of what the removal of unneeded entries takes away: one zip
// per set in the backup folder, growing with every removal from that set.
#pragma once

#include "gamedb/scan_records.h"
#include "scanner/scan_context.h"

namespace kestrel {

// Stores the entry (a loose file, a folder with everything below it, or a
// zip member) in the backup zip of its set, `entry.setName` + ".zip" in the
// backup folder, made along with the folder when missing. A name the zip
// holds already is given a number (" (2)" before the extension), so an
// earlier backup is never replaced. True when the backup zip was written
// (or there was nothing to store, as for an empty folder).
bool BackUpEntry(ScanContext& context, const FoundEntry& entry);

}  // namespace kestrel
