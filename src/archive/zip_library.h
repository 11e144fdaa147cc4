// Writing zip archives: adding files and deleting members.
//
// Archives are never changed in place. The new archive is written beside the
// old one and replaces it only when complete, so a failed call leaves the
// old archive as it was. Archives written here read back with the strict
// reader (no data descriptors, local and central headers agree).
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "archive/torrent_zip.h"
#include "archive/zip_entry.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"

namespace kestrel {

// How a tool run reads and writes zips; the desktop program and the
// command line each hand one to every tool they start.
struct ZipLibrary {
  // Compression level for added files, '0' (store) to '9'; other values
  // count as '9'.
  char level = '9';
  // How strictly the run reads the zips it finds; the desktop program's
  // "Use Advanced Zip Scanner" asks for kBothHeaders.
  ZipHeaderCheck headerCheck = ZipHeaderCheck::kLocalHeaders;
  // Every zip written is then rewritten in TorrentZip's form (see
  // torrent_zip.h), whatever `level` says.
  bool torrentZip = false;
  // Where a zip written but left out of TorrentZip's form is named, with
  // why; shared by every copy of the record. Null: nobody asks.
  TorrentZipMisses* torrentZipMisses = nullptr;
};

// The level character of a compression level as the settings keep it,
// 0 (store) to 9; other levels are taken as the nearer of the two.
inline char ZipLevelCharacter(int level) { return static_cast<char>('0' + std::clamp(level, 0, 9)); }

// Adds each file of `files` (full paths) to the archive as a member named by
// the file's bare name, deflated at the library's level. A member of exactly
// the same name (byte-wise) is replaced. ".zip" is appended to the archive
// path unless present (any case); a missing archive is created; a read-only
// archive is made writable first. An empty list, a missing file or any
// write error fails and leaves the archive untouched.
bool ZipAddFiles(FileSystem& fs, ZipLibrary& library, const std::string& archivePath,
                 const std::vector<std::string>& files);

// Deletes the members named in `memberNames` (exactly as stored) from the
// archive. Fails, leaving the archive untouched, when the list is empty or a
// name is not in the archive or held by two members (delete those by entry
// through ZipUpdate). An archive left without members is removed.
bool ZipDeleteEntries(FileSystem& fs, ZipLibrary& library, const std::string& archivePath,
                      const std::vector<std::string>& memberNames);

// Everything one update does to one archive, applied between one open and
// one close: deletions first, then additions and copies. Replacing a member
// this way leaves the archive holding the old member or the new one, never
// neither.
//
// A member is best named by its entry as ReadZipDirectory listed it: an
// archive may hold two members of one name, and only the entry tells them
// apart. An entry is taken only while the archive still holds that very
// member (same place in the directory, name, sizes and CRC-32); otherwise the
// update fails. The forms by name fail when two members hold the name.
struct ZipChanges {
  struct Addition {
    std::string file;        // a file on disk, found without case
    std::string memberName;  // the name it is stored under
  };
  struct Copy {
    std::string sourceArchive;  // another zip, found without case
    std::string sourceMember;   // its member, exactly as stored
    std::string memberName;     // the name it is stored under here
  };
  struct EntryCopy {
    ZipEntry source;         // the member, listed from source.archivePath
    std::string memberName;  // the name it is stored under here
  };
  std::vector<std::string> deletions;    // member names exactly as stored
  std::vector<Addition> additions;       // deflated at the library's level
  std::vector<Copy> copies;              // moved unchanged, not recompressed
  std::vector<ZipEntry> deletedEntries;  // members of this archive, by entry
  std::vector<EntryCopy> copiedEntries;  // moved unchanged, like `copies`
};

// Applies `changes` to the archive (".zip" appended unless present, any
// case; created when missing, made writable when read-only). The archive
// afterwards holds all changes or none: no change at all, a deletion of a
// member that is not there, a missing file or member to add, or any write
// error (a full disk among them) fails and leaves the archive byte for byte
// as it was, with no temporary file beside it. An addition or copy replaces
// the one member of the same name (byte-wise) that is not deleted; it fails
// when two such members remain. An archive left without members is removed.
// With `torrentZip` the written archive is then rewritten in that form; a
// rewrite that fails leaves it as written (the update stands, true) and
// names it in `torrentZipMisses`.
bool ZipUpdate(FileSystem& fs, ZipLibrary& library, const std::string& archivePath, const ZipChanges& changes);

}  // namespace kestrel
