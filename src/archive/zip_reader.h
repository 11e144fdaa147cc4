// Reading zip archives: the member list, single members, and the size and
// CRC-32 of loose files. Every file is read through the FileSystem given.
//
// The reader is deliberately strict. It walks an archive from its first
// byte, one structure after the other, and accepts only the layout common
// zip programs write (no data descriptors, no bytes between the structures);
// anything else is a corrupt zip the user is asked to rezip. Stored (0) and
// deflated (8) members are understood. The file's last 64 KB are read
// first, in one read: that is the whole of most set zips, and the central
// directory of nearly all; only the local headers of a larger zip cost
// reads of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "archive/zip_entry.h"
#include "archive/zip_problem.h"
#include "platform/file_system.h"

namespace kestrel {

// How closely ReadZipDirectory looks at the central directory.
enum class ZipHeaderCheck {
  kLocalHeaders,  // a central header only gives its member its central index
  kBothHeaders,   // every central header must also agree with its local header
};

// Lists the members of the zip `path` into `list` (emptied first), in the
// order of their local headers; folders, and members whose file-name part is
// empty, "." or "..", are left out. True when the archive was read up to its
// end record without a fault, whether or not it lists a member (a zip of its
// end record alone is a valid zip without members); on false `list` keeps
// what was entered before the fault. With `checkExtension` a path
// without HasZipExtension is refused at once. With `problem`, a structural
// fault is described there for the caller to tell (kNone on success, and
// for a file that cannot be opened or read). With kBothHeaders (the desktop
// program's advanced zip scanner), a central header that disagrees with its
// local header is a fault too. Kestrel's own zips pass either check.
bool ReadZipDirectory(FileSystem& fs, std::string path, ZipEntryList& list, bool checkExtension, ZipProblem* problem,
                      ZipHeaderCheck headerCheck = ZipHeaderCheck::kLocalHeaders);

// Writes the contents of a listed member to `destinationPath`, replacing an
// existing file only once the contents have passed their CRC check: on
// failure no new file is left behind and an existing one is untouched.
// `*writeFailed` is set to 1 (never reset) when writing broke off part-way,
// which callers take as a full disk. An unsupported compression method is
// described in `problem`, when given; other failures only in the result.
bool ExtractZipEntry(FileSystem& fs, const ZipEntry& entry, const std::string& destinationPath,
                     int* writeFailed = nullptr, ZipProblem* problem = nullptr);

// Decodes a listed member without writing it anywhere: true when its
// contents have the size and CRC-32 its header gives. `problem` as for
// ExtractZipEntry.
bool CheckZipEntry(FileSystem& fs, const ZipEntry& entry, ZipProblem* problem = nullptr);

// Decodes a listed member and hands its contents to `take` piece by piece;
// true as for CheckZipEntry. `take` returns false to stop.
bool ReadZipEntry(FileSystem& fs, const ZipEntry& entry, const std::function<bool(const uint8_t*, size_t)>& take);

// Length and CRC-32 of a loose file. On failure `crc` is 0 and `size` is the
// length when it could be obtained, else 0. Files of 4 GB and more fail.
bool ReadFileCrc(FileSystem& fs, const std::string& path, uint32_t& size, uint32_t& crc);

}  // namespace kestrel
