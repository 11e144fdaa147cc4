// What an interrupted rebuild leaves behind, and its clearing by the next
// run. Sources are removed only after the destination was written and read
// back, so a run stopped before that still has every source: its work
// folder holds copies only, and an unfinished zip write beside a zip that
// reads whole holds nothing that is not there.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "rebuilder/rebuilder.h"

namespace kestrel {

// The rebuilder's private work folder for this process, inside `parent`:
// named after the process, so that a later run can tell a folder in use
// from one left over.
std::string WorkFolderName(const std::string& parent);

// Removes a work folder with the member copies in it. One that holds a
// folder is left whole: it holds something the rebuilder did not put there.
// True when the folder is gone.
bool RemoveWorkFolder(FileSystem& fs, const std::string& folder);

// What a run found left over and what became of it.
struct LeftoverReport {
  std::vector<RebuildLeftover> cleared;
  std::vector<RebuildFailure> kept;  // leftovers that had to stay
};

// Clears work folders in `tempParent` whose process is gone (with the
// member copies in them; one holding anything but files stays), the
// temporary files of interrupted copies in the destination's set folders,
// and unfinished zip writes beside the destination zips (`destination` ends
// with '/'): removed beside a zip that reads whole, else moved into
// `backupFolder`, else kept and reported.
void ClearLeftovers(FileSystem& fs, const std::string& tempParent, const std::string& destination,
                    const std::string& backupFolder, LeftoverReport& report);

// For a file met among the sources: when it is an unfinished write of the
// zip beside it, clears it as above and returns true (it is no source).
bool ClearSourceLeftover(FileSystem& fs, const std::string& path, const std::string& backupFolder,
                         LeftoverReport& report);

}  // namespace kestrel
