// Removing the sources a run has rebuilt.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "rebuilder/rebuild_journal.h"

namespace kestrel {

struct ZipLibrary;

// Removes the source of every block marked for removal whose placements all
// reached the destination (written and read back, or there already): loose
// files (made writable first) and zip members (a zip left without members
// goes too). A source is removed only while it still reads as it did (same
// size and CRC-32, for a member the same entry of its zip); one that
// changed or became unreadable is kept and named in `failures`, as is one
// whose removal failed. Then every folder below `sourceFolder` that the
// removals emptied goes, deepest first; `sourceFolder` itself, the user's
// choice, stays. Loose files below `setFolders` (the destination, when it
// holds sets as folders; else "") stay too: such a file may be the very ROM
// a placement found already there. Returns the number of files and members
// removed.
int RemoveRebuiltSources(FileSystem& fs, const RebuildJournal& journal, const std::string& sourceFolder,
                         const std::string& setFolders, ZipLibrary& zipLibrary, std::vector<RebuildFailure>& failures);

}  // namespace kestrel
