// Putting a CHD file (a disk image) in place: the one way the rebuilder and
// the merger move or copy a disk. A CHD is never recompressed or zipped; it
// is moved whole, and a copy counts only once its header reads back with the
// same SHA-1 and the file has the original's size.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/sha1_digest.h"

namespace kestrel {

// Whether a file name is a CHD's: it ends with ".chd" in any case.
bool HasChdExtension(std::string_view name);

enum class ChdTransfer {
  kCopy,  // the original stays where it is
  kMove,  // the original goes once it is at `to`: a rename where both lie on one file system
};

// Puts the CHD at `from`, whose header gives `sha1`, at `to`, where nothing
// may lie yet. A copy is written under a temporary name, read back (header
// SHA-1 and size) and only then given its name; a move that cannot be a
// rename is such a copy, after which the original is removed. False when
// the CHD could not be placed: `from` is then untouched and nothing is at
// `to`. A move whose copy arrived but whose original could not be removed
// returns true with `originalLeft` set (when given).
bool TransferChd(FileSystem& fs, const std::string& from, const std::string& to, const Sha1Digest& sha1,
                 ChdTransfer how, bool* originalLeft = nullptr);

}  // namespace kestrel
