#include "gamedb/crc_index.h"

#include <algorithm>

#include "platform/text.h"

namespace kestrel {

namespace {

ZeroCrcIndexEntry MakeZeroCrcEntry(const GameList& database, const GameSet& game, const RomEntry& rom) {
  ZeroCrcIndexEntry entry;
  entry.size = rom.size;
  entry.setName = game.name;
  entry.romName = rom.name;
  entry.hasNeoGeoBios = game.hasNeoGeoBios;
  entry.gameIndex = static_cast<int>(&game - database.data());
  entry.romIndex = static_cast<int>(&rom - game.roms.data());
  return entry;
}

CrcIndexEntry MakeCrcEntry(const GameList& database, const GameSet& game, const RomEntry& rom) {
  CrcIndexEntry entry;
  static_cast<ZeroCrcIndexEntry&>(entry) = MakeZeroCrcEntry(database, game, rom);
  entry.crc = rom.crc;
  entry.crcComplement = rom.crcComplement;
  return entry;
}

}  // namespace

void BuildCrcIndex(const GameList& database, std::vector<CrcIndexEntry>& crcIndex,
                   std::vector<ZeroCrcIndexEntry>& zeroCrcIndex) {
  crcIndex.clear();
  zeroCrcIndex.clear();
  for (const GameSet& game : database) {
    if (!game.selected) continue;
    for (const RomEntry& rom : game.roms) {
      if (rom.crc != 0) crcIndex.push_back(MakeCrcEntry(database, game, rom));
      else zeroCrcIndex.push_back(MakeZeroCrcEntry(database, game, rom));
    }
  }
  std::stable_sort(crcIndex.begin(), crcIndex.end(),
                   [](const CrcIndexEntry& a, const CrcIndexEntry& b) { return a.crc < b.crc; });
  std::stable_sort(zeroCrcIndex.begin(), zeroCrcIndex.end(), [](const ZeroCrcIndexEntry& a, const ZeroCrcIndexEntry& b) {
    return CompareNoCase(a.romName, b.romName) < 0;
  });
}

std::pair<size_t, size_t> FindCrcRange(const std::vector<CrcIndexEntry>& crcIndex, uint32_t crc) {
  auto first = std::lower_bound(crcIndex.begin(), crcIndex.end(), crc,
                                [](const CrcIndexEntry& entry, uint32_t key) { return entry.crc < key; });
  auto last = std::upper_bound(first, crcIndex.end(), crc,
                               [](uint32_t key, const CrcIndexEntry& entry) { return key < entry.crc; });
  return {static_cast<size_t>(first - crcIndex.begin()), static_cast<size_t>(last - crcIndex.begin())};
}

}  // namespace kestrel
