// A set kept as a 7z archive, as MAME reads it beside zips and folders.
// Kestrel reads such a set but never writes it: it writes no 7z, and a
// repair that would have to rewrite one says so instead.
//
// libarchive gives no member's CRC-32 from a 7z's headers, so listing a 7z
// decodes every member once. The listing is kept while the file stays the
// same (size and time), as a scan asks for one set several times.
#pragma once

#include <string>
#include <string_view>

#include "archive/zip_entry.h"
#include "platform/file_system.h"

namespace kestrel {

// True when `path` ends in ".7z" (any case).
bool HasSevenZipExtension(std::string_view path);

// True for a member listed by ReadSevenZipSet.
bool IsSevenZipMember(const ZipEntry& member);

// `path` less its ".7z" when HasSevenZipExtension, else `path` as it is.
std::string WithoutSevenZipExtension(std::string_view path);

// Lists the regular files of the 7z `path` into `list` (emptied first) as
// zip members are listed: the file-name part as `name`, the path as stored
// as `storedName`, the size and CRC-32 of the decoded contents, method 0.
// A member that cannot be decoded for want of a password is listed with
// its encryption flag set and CRC-32 0. False, with `fault` in words for
// the user, when the archive cannot be opened or its data are damaged;
// then `list` is empty.
bool ReadSevenZipSet(FileSystem& fs, const std::string& path, ZipEntryList& list, std::string& fault);

}  // namespace kestrel
