// Writing zip archives: adding files and deleting members.
//
// Archives are never changed in place. The new archive is written beside the
// old one and replaces it only when complete, so a failed call leaves the
// old archive as it was. Archives written here read back with the strict
// reader (no data descriptors, local and central headers agree).
#pragma once

#include <string>
#include <vector>

namespace kestrel {

struct ZipLibrary {
  // Compression level for added files, '0' (store) to '9'; other values
  // count as '9'.
  char level = '9';
  bool loaded = false;
};

// Readies the library for use; false when zip writing is not available.
bool InitZipLibrary(ZipLibrary& library);

// Adds each file of `files` (full paths) to the archive as a member named by
// the file's bare name, deflated at the library's level. A member of exactly
// the same name (byte-wise) is replaced. ".zip" is appended to the archive
// path unless present (any case); a missing archive is created; a read-only
// archive is made writable first. An empty list, a missing file or any
// write error fails and leaves the archive untouched.
bool ZipAddFiles(ZipLibrary& library, const std::string& archivePath, const std::vector<std::string>& files);

// Deletes the members named in `memberNames` (exactly as stored) from the
// archive. Fails, leaving the archive untouched, when the list is empty or a
// name is not in the archive. An archive left without members is removed.
bool ZipDeleteEntries(ZipLibrary& library, const std::string& archivePath,
                      const std::vector<std::string>& memberNames);

}  // namespace kestrel
