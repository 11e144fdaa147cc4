// TorrentZip: one canonical form of a zip, so that the same set always has
// the same bytes whoever made it. Its published rules: members sorted by
// their names lowercased (names keep their case, '\' becomes '/'), every
// member deflated by zlib at level 9 with its default settings, the fixed
// time 1996-12-24 23:32, general flag 2 (bit 11 too for a name beyond
// ASCII), made by and needing version 0 and 20, no extra fields or member
// comments, no folders, and the archive comment "TORRENTZIPPED-XXXXXXXX":
// the CRC-32 of the central directory in upper-case hex.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kestrel {

// Why a zip could not be rewritten in TorrentZip's form.
enum class TorrentZipFault {
  kNone,              // rewritten, or in the form already
  kUnreadable,        // its directory could not be read, or it holds no member
  kBadMember,         // a member did not decode to its listed size and CRC-32
  kTooLarge,          // the rewritten zip would need zip64, which the form avoids
  kWriteFailed,       // the new zip could not be written or put in place (a full disk, a refused write)
};

// The fault in the user's words, for "PATH: REASON".
const char* TorrentZipFaultText(TorrentZipFault fault);

// Rewrites the zip `path` (found without case) in TorrentZip's form. The
// new zip is written beside the old one and replaces it only when whole,
// and only once every member decoded to its listed size and CRC-32: on a
// fault the zip is byte for byte as it was. Each member is deflated in
// memory in turn, so the largest member bounds what it takes. A zip in the
// form already is left alone.
TorrentZipFault WriteTorrentZip(FileSystem& fs, const std::string& path);

// A zip written but left out of TorrentZip's form, and why.
struct TorrentZipMiss {
  std::string path;
  TorrentZipFault fault = TorrentZipFault::kNone;
};

// The zips a run could not rewrite in TorrentZip's form, gathered from all
// its writers (they may write on several threads at once), so that the run
// can name them at its end.
class TorrentZipMisses {
 public:
  void Add(const std::string& path, TorrentZipFault fault);
  std::vector<TorrentZipMiss> List() const;

 private:
  mutable std::mutex mutex_;
  std::vector<TorrentZipMiss> misses_;
};

// True when the zip `path` is in TorrentZip's form: every header as the
// rules say, members in their order, and the comment's CRC-32 that of the
// central directory. The members' data are not decoded.
bool IsTorrentZip(FileSystem& fs, const std::string& path);

}  // namespace kestrel
