#include "report/fixdat.h"

#include <set>

namespace kestrel {
namespace {

bool LacksRom(const RomEntry& rom, const RomScan& scan, const SettingsRecord& settings) {
  if (rom.noDump || MayLackRom(rom) || rom.deviceSet >= 0) return false;
  if (scan.unreadable || !scan.found) return true;
  return settings.checkChecksum && !scan.checksumCorrect;
}

bool LacksDisk(const DiskEntry& disk, const DiskScan& scan) {
  return scan.state != DiskState::kGood && !MayLackDisk(disk);
}

DatGame LackingPart(const GameSet& game, const SetScan& scan, const SettingsRecord& settings) {
  DatGame lacking{game.name, game.description, game.cloneOf, game.romOf, {}, {}};
  for (size_t i = 0; i < game.roms.size() && i < scan.roms.size(); ++i) {
    const RomEntry& rom = game.roms[i];
    if (!LacksRom(rom, scan.roms[i], settings)) continue;
    lacking.roms.push_back(DatRom{rom.name, static_cast<uint32_t>(rom.size), rom.crc, rom.sha1});
  }
  for (size_t i = 0; i < game.disks.size() && i < scan.disks.size(); ++i) {
    if (LacksDisk(game.disks[i], scan.disks[i])) lacking.disks.push_back(DatDisk{game.disks[i].name, game.disks[i].sha1});
  }
  return lacking;
}

}  // namespace

std::vector<DatGame> BuildFixdat(const GameList& database, const ScanResults& scanResults,
                                 const SettingsRecord& settings) {
  std::vector<DatGame> games;
  if (!settings.scanRoms) return games;
  for (size_t i = 0; i < database.size() && i < scanResults.size(); ++i) {
    if (!database[i].selected) continue;
    DatGame lacking = LackingPart(database[i], scanResults[i], settings);
    if (!lacking.roms.empty() || !lacking.disks.empty()) games.push_back(std::move(lacking));
  }
  std::set<std::string> listed;
  for (const DatGame& game : games) listed.insert(game.name);
  for (DatGame& game : games) {
    if (!listed.count(game.cloneOf)) game.cloneOf.clear();
    if (!listed.count(game.romOf)) game.romOf.clear();
  }
  return games;
}

}  // namespace kestrel
