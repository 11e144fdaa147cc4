// What an interrupted archive write leaves behind, and clearing it away.
//
// Zip writing puts the new archive in a temporary file beside the old one,
// named like the archive followed by a dot and six letters or digits
// ("set.zip.a1b2c3"), and renames it over the archive when complete. A
// write that was killed leaves that file for ever. Beside a complete
// archive it is a partial copy, as the write it belonged to never finished
// and its sources were never removed; alone it may be all that is left of
// a new archive.
#pragma once

#include <string>
#include <vector>

namespace kestrel {

// True when `name` (a bare file name) is the temporary file a write of the
// archive named `archiveName` ("set.zip", any case) leaves behind.
bool IsInterruptedWriteOf(const std::string& archiveName, const std::string& name);

// One leftover found in a folder.
struct InterruptedWrite {
  std::string path;         // the leftover
  std::string archivePath;  // the archive its write was meant to replace
};

// The leftovers of interrupted zip writes directly inside `folder`: files
// named like a zip followed by a dot and six letters or digits that are no
// complete zip themselves (a killed write never got to its directory; a
// complete one, like "set.zip.backup", is a user's copy and is left alone).
std::vector<InterruptedWrite> FindInterruptedWrites(const std::string& folder);

enum class LeftoverOutcome {
  kRemoved,        // beside a complete archive that reads: nothing was lost
  kMovedToBackup,  // no archive that reads beside it: kept in the backup folder
  kKept,           // could not be moved (no backup folder, a failed move)
};

struct ClearedLeftover {
  LeftoverOutcome outcome = LeftoverOutcome::kKept;
  std::string movedTo;  // kMovedToBackup: where it is now
};

// Clears one leftover: removed when its archive is there and reads whole
// (every member's contents check out) and the leftover itself is no
// complete zip, otherwise moved into `backupFolder`
// under a free name. Never deletes the only copy of anything.
ClearedLeftover ClearInterruptedWrite(const std::string& backupFolder, const InterruptedWrite& leftover);

}  // namespace kestrel
