// The bytes libzip reads and writes, served through a FileSystem: the zip
// code never touches the disk by itself, so a test's FileSystem can fail
// any read or write of an archive.
//
// An archive is written as libzip writes any: into a new file beside it,
// named like the archive followed by a dot and six letters or digits (see
// interrupted_write.h), brought to the disk and then renamed over the
// archive. A failed write removes that file and leaves the archive as it
// was.
#pragma once

#include <zip.h>

#include <string>

#include "platform/file_system.h"

namespace kestrel {

// A source over the archive `path` (exactly as spelled, perhaps missing)
// for zip_open_from_source: read, written and removed through `fs`. Null
// when libzip cannot make one.
zip_source_t* ArchiveSource(FileSystem& fs, const std::string& path, zip_error_t* error);

// A read-only source over the file `path` (found without case), for adding
// it to `archive` as a member. Null when libzip cannot make one; a file that
// cannot be opened fails when the archive is written.
zip_source_t* AddedFileSource(zip_t* archive, FileSystem& fs, const std::string& path);

}  // namespace kestrel
