// The validated game database kept on disk, so that a start with an
// unchanged data source reads one file instead of running the emulator
// over thousands of games again. The file is keyed by the CRC-32 of the
// source it came from; any other key, a damaged file or a cancelled read is
// a miss, and the caller rebuilds the cache from the source.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/user_interface.h"
#include "gamedb/game_set.h"
#include "gamedb/romless_machines.h"

namespace kestrel {

// Writes `database` and the list's machines without ROMs under `key`. The
// file is written under a temporary name and then put in place, so a reader
// never meets half a cache. False when it could not be written; callers may
// ignore that, since a missing cache only costs time.
bool WriteDataCache(const std::string& path, const GameList& database, uint32_t key,
                    const RomlessMachines& romless = {});

// The key the cache at `path` carries; nothing when it is missing or has
// another header.
std::optional<uint32_t> ReadDataCacheKey(const std::string& path);

// Replaces `database` with the cached sets (and `romless`, when given, with
// the machines without ROMs) when the file is complete, sound and carries
// `expectedKey`. Shows "Receiving Data" progress under `owner` (none when
// null), where Cancel ends the read. A missing file, another header or
// another key leaves `database` as it is; a damaged or cancelled read of the
// sets leaves it empty.
bool ReadDataCache(const std::string& path, GameList& database, uint32_t expectedKey, UserInterface* owner,
                   RomlessMachines* romless = nullptr);

}  // namespace kestrel
