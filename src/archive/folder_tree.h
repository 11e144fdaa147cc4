// A folder with everything below it, as a backup or the removal of an
// unneeded folder sees it. Symbolic links are never followed: a link is an entry of the
// tree, never the way into another one.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kestrel {

// The regular files below `folder`, as paths relative to it ('/' between
// the parts), sorted byte-wise within each folder. Empty folders and links
// are left out.
std::vector<std::string> ListTreeFiles(FileSystem& fs, const std::string& folder);

// Deletes `folder` with its contents: files (read-only ones made writable
// first) and links (never followed), then the folders, innermost first.
// Only what a folder's listing showed is deleted, so an entry that could not
// be looked at keeps its folder. Returns what could not be removed,
// innermost first; empty when nothing is left of `folder`.
std::vector<std::string> DeleteFolderTree(FileSystem& fs, const std::string& folder);

}  // namespace kestrel
