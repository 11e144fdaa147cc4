// ROMs of the selected sets ordered by CRC-32, so that a file can be matched
// to every ROM with its content by one binary search. The rebuilder, the
// wrong-named-set check and the alias pass of validation use it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "gamedb/game_set.h"

namespace kestrel {

// One ROM without a known dump (crc 0).
struct ZeroCrcIndexEntry {
  int32_t size = 0;
  std::string setName;
  std::string romName;
  int spare = 0;  // carried along, always 0
  bool hasNeoGeoBios = false;  // of the set
  // The ROM in the database: the index of its set, and its index in the
  // set's `roms`; where it lives in a layout is asked of rom_home.h.
  int gameIndex = -1;
  int romIndex = -1;
};

// One ROM with a known dump.
struct CrcIndexEntry : ZeroCrcIndexEntry {
  uint32_t crc = 0;
  uint32_t crcComplement = 0;
};

// Empties both lists, then indexes every ROM of every selected set:
// `crcIndex` sorted by crc, `zeroCrcIndex` by ROM name without case. Both
// sorts are stable, so equal keys keep database order.
void BuildCrcIndex(const GameList& database, std::vector<CrcIndexEntry>& crcIndex,
                   std::vector<ZeroCrcIndexEntry>& zeroCrcIndex);

// The entries of a CRC-sorted index with `crc`, as [first, last).
std::pair<size_t, size_t> FindCrcRange(const std::vector<CrcIndexEntry>& crcIndex, uint32_t crc);

}  // namespace kestrel
