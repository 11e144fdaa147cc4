// The deep check of archives that "kestrel-cli test" runs: every member of
// a zip decoded, whatever its method, and held against the size and CRC-32
// its header records; every member of a 7z decoded (libarchive holds it
// against the 7z's own checksums); every CHD's header read. A scan reads only zip directories, so a flipped
// byte inside a member passes it; this check finds it before an emulator
// trips on it.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kestrel {

// One damaged archive and why.
struct ArchiveDamage {
  std::string path;
  std::string reason;  // e.g. "member a.rom does not match its CRC-32"
};

// What a check went through and found.
struct IntegrityReport {
  int zips = 0;       // zips looked at
  int sevenZips = 0;  // 7z archives looked at
  int members = 0;    // zip and 7z members decoded
  int chds = 0;     // CHD headers read
  std::vector<ArchiveDamage> damaged;  // in the order checked; at most one per archive
};

// Whether `path` names what the check looks at: a zip, a 7z or a CHD (by
// its name, in any case).
bool IsCheckedArchive(const std::string& path);

// Checks the archive at `path`, or every zip, 7z and CHD below the folder
// `path` (links not followed), adding to `report`. Reading never writes.
void CheckArchives(FileSystem& fs, const std::string& path, IntegrityReport& report);

}  // namespace kestrel
