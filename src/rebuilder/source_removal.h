// Removing the sources a run has rebuilt.
#pragma once

#include "rebuilder/rebuild_journal.h"

namespace kestrel {

struct ZipLibrary;

// Removes the source of every block marked for removal whose placements all
// reached the destination: loose files (made writable first) and zip
// members (a zip left without members goes too). Then each folder that held
// a removed source is removed if it is now empty, deepest first, so that a
// source tree used up entirely disappears. Returns the number of files and
// members removed.
int RemoveRebuiltSources(const RebuildJournal& journal, ZipLibrary& zipLibrary);

}  // namespace kestrel
