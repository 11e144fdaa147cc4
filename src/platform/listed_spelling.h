// The spelling the game list gives a set or a file. Kestrel finds names
// without case, but MAME on a case-sensitive file system opens
// "3stooges.zip" only when it is spelled so: whatever a tool writes takes
// the listed spelling, and an entry found only under another spelling is
// renamed to it before the tool writes to it. A rename loses no content, so
// it needs no backup.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace kestrel {

// What became of an entry's spelling.
enum class Spelling {
  kAbsent,      // no entry of the name in any case: a new one gets the listed name
  kListed,      // spelled as listed (preferred over other spellings beside it)
  kRenamed,     // was spelled otherwise, and now is spelled as listed
  kNotRenamed,  // is spelled otherwise and could not be renamed
};

// Looks for `name` (a plain file name) in `folder` without case and, when
// only another spelling of it is there, renames that entry, a file or a
// folder, to `name`. An entry spelled as listed is used as it is, and
// another spelling beside it is left alone: the scan tells of that one.
Spelling TakeListedSpelling(FileSystem& fs, const std::string& folder, const std::string& name);

// True unless the entry is left under another spelling than the listed one.
inline bool HasListedSpelling(Spelling spelling) { return spelling != Spelling::kNotRenamed; }

}  // namespace kestrel
