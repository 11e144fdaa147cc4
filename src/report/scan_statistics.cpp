#include "report/scan_statistics.h"

namespace kestrel {

void CountGameTotals(const GameSet& game, ScanStatistics& statistics) {
  const auto romCount = static_cast<int32_t>(game.roms.size());
  ++statistics.games;
  if (game.hasNeoGeoBios) {
    ++statistics.neoGeoGames;
    statistics.neoGeoRoms += romCount;
  } else {
    ++statistics.arcadeGames;
    statistics.arcadeRoms += romCount;
  }
  statistics.samples += static_cast<int32_t>(game.samples.size());
  statistics.disks += static_cast<int32_t>(game.disks.size());
  if (game.hasParent) ++statistics.clones;
  if (game.isParent) ++statistics.parents;
  for (const RomEntry& rom : game.roms) {
    if (rom.noDump) ++statistics.badDumps;
  }
}

}  // namespace kestrel
