// The profile file: a settings record on disk (".kpf"), a little-endian byte
// stream that starts with the magic "KPFOPT" and a version number. Versions 0
// to kProfileVersion are read; kProfileVersion is written (6 added the
// TorrentZip switches of the rebuilder and the merger, 7 the software lists
// and the hash path).
#pragma once

#include <string>

#include "gamedb/game_set.h"
#include "settings/settings_record.h"

namespace kestrel {

inline constexpr int kProfileVersion = 7;

// Reads the profile at `path` over a fresh record. On any failure (missing,
// wrong magic, cut short, damaged counts) returns false and leaves `record`
// unchanged. Fields a profile of its version does not hold keep their
// defaults.
bool LoadProfile(SettingsRecord& record, const std::string& path);

// Writes `record` as a kProfileVersion profile, with the selection of `database`,
// whose data CRC is `dataCrc`. Without a database the selection `record`
// read from its profile is written as it was. The old file is replaced only
// once the new one is complete.
bool SaveProfile(const SettingsRecord& record, const std::string& path, const GameList& database,
                 uint32_t dataCrc);

}  // namespace kestrel
