// What an interrupted archive write leaves behind, and clearing it away.
//
// Zip writing puts the new archive in a temporary file beside the old one,
// named like the archive followed by a dot and six letters or digits
// ("set.zip.a1b2c3"), and renames it over the archive when complete. A
// write that was killed leaves that file for ever.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kestrel {

// True when `name` (a bare file name) is the temporary file a write of the
// archive named `archiveName` ("set.zip", any case) leaves behind.
bool IsInterruptedWriteOf(const std::string& archiveName, const std::string& name);

// One leftover found in a folder.
struct InterruptedWrite {
  std::string path;         // the leftover
  std::string archivePath;  // the archive its write was meant to replace
};

// The file `path` as the leftover of an interrupted zip write, when it is
// one (see FindInterruptedWrites); nothing otherwise.
std::optional<InterruptedWrite> InterruptedWriteAt(FileSystem& fs, const std::string& path);

// The leftovers of interrupted zip writes directly inside `folder`: files
// named like a zip followed by a dot and six letters or digits that are no
// complete zip themselves (a killed write never got to its directory; a
// complete one, like "set.zip.backup", is a user's copy and is left alone).
std::vector<InterruptedWrite> FindInterruptedWrites(FileSystem& fs, const std::string& folder);

enum class LeftoverOutcome {
  kMovedToBackup,  // kept whole in the backup folder
  kKept,           // could not be moved (no backup folder, a failed move)
};

struct ClearedLeftover {
  LeftoverOutcome outcome = LeftoverOutcome::kKept;
  std::string movedTo;  // kMovedToBackup: where it is now
};

// Clears one leftover by moving it into `backupFolder` under a free name.
// It is never deleted: nothing shows that what it holds is elsewhere (a
// cut-off copy of the user's own looks the same), and it may be all that
// is left of a new archive.
ClearedLeftover ClearInterruptedWrite(FileSystem& fs, const std::string& backupFolder,
                                      const InterruptedWrite& leftover);

}  // namespace kestrel
