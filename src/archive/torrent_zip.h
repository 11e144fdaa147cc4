// TorrentZip: one canonical form of a zip, so that the same set always has
// the same bytes whoever made it. Its published rules: members sorted by
// their names lowercased (names keep their case, '\' becomes '/'), every
// member deflated by zlib at level 9 with its default settings, the fixed
// time 1996-12-24 23:32, general flag 2 (bit 11 too for a name beyond
// ASCII), made by and needing version 0 and 20, no extra fields or member
// comments, no folders, and the archive comment "TORRENTZIPPED-XXXXXXXX":
// the CRC-32 of the central directory in upper-case hex.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace kestrel {

// Rewrites the zip `path` (found without case) in TorrentZip's form. The
// new zip is written beside the old one and replaces it only when whole,
// and only once every member decoded to its listed size and CRC-32: on
// false the zip is byte for byte as it was. Each member is deflated in
// memory in turn, so the largest member bounds what it takes. A zip in the
// form already is left alone.
bool WriteTorrentZip(FileSystem& fs, const std::string& path);

// True when the zip `path` is in TorrentZip's form: every header as the
// rules say, members in their order, and the comment's CRC-32 that of the
// central directory. The members' data are not decoded.
bool IsTorrentZip(FileSystem& fs, const std::string& path);

}  // namespace kestrel
