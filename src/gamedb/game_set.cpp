#include "gamedb/game_set.h"

#include <algorithm>

#include "platform/text.h"

namespace kestrel {

void SetRomCrc(RomEntry& rom, uint32_t crc) {
  rom.crc = crc;
  rom.crcComplement = ~crc;
  rom.noDump = crc == 0;
}

const AliasGroup& AliasGroupOf(const RomEntry& rom) {
  static const AliasGroup kNoGroup;
  return rom.aliasGroup ? *rom.aliasGroup : kNoGroup;
}

std::vector<std::string> AliasesOf(const RomEntry& rom) {
  std::vector<std::string> aliases;
  for (const std::string& name : AliasGroupOf(rom)) {
    if (name != rom.name) aliases.push_back(name);
  }
  return aliases;
}

bool MayLackRom(const RomEntry& rom) { return rom.optional || rom.status == DumpStatus::kNoDump; }

bool MayLackDisk(const DiskEntry& disk) { return disk.optional || disk.status == DumpStatus::kNoDump || !disk.sha1; }

std::vector<std::string> SampleFileNames(const GameSet& game, const SampleEntry& sample) {
  if (game.rules == ListRules::kDatfile) return {sample.name};
  // An XML datfile may name the file, extension and all.
  for (std::string_view extension : {".wav", ".flac"})
    if (HasSuffixNoCase(sample.name, extension)) return {sample.name};
  return {sample.name + ".wav", sample.name + ".flac"};
}

bool IsNeoGeoBiosRom(const RomEntry& rom) {
  if (rom.size != 131072) return false;
  switch (rom.crc) {
    case 0x9036D879:  // neo-geo.rom
    case 0x354029FC:  // ng-sfix.rom
    case 0x97CF998B:  // ng-sm1.rom
    case 0x853E6B96:  // im_bios.rom
      return true;
    default:
      return false;
  }
}

std::optional<int> FindGame(const GameList& games, std::string_view name) {
  auto it = std::lower_bound(games.begin(), games.end(), name,
                             [](const GameSet& game, std::string_view key) { return CompareNoCase(game.name, key) < 0; });
  if (it == games.end() || !EqualsNoCase(it->name, name)) return std::nullopt;
  return static_cast<int>(it - games.begin());
}

const RomEntry* BiosRomOf(const GameList& database, const GameSet& game, const RomEntry& rom) {
  if (rom.biosRom < 0 || game.biosIndex < 0) return nullptr;
  return &database[game.biosIndex].roms[rom.biosRom];
}

const RomEntry* DeviceRomOf(const GameList& database, const RomEntry& rom) {
  if (rom.deviceSet < 0 || rom.deviceRom < 0) return nullptr;
  return &database[size_t(rom.deviceSet)].roms[size_t(rom.deviceRom)];
}

namespace {

// The set's ROM named `name` without case, the exact spelling preferred;
// null when none. A set is a zip or a folder whose names are found without
// case, so it cannot hold two ROMs apart by their case alone.
const RomEntry* RomNamedLike(const GameSet& set, const std::string& name) {
  int index = FindRom(set, name);
  if (index >= 0) return &set.roms[size_t(index)];
  for (const RomEntry& other : set.roms)
    if (EqualsNoCase(other.name, name)) return &other;
  return nullptr;
}

bool HoldsOtherContent(const GameSet& set, const RomEntry& rom) {
  const RomEntry* named = RomNamedLike(set, rom.name);
  return named != nullptr && (named->crc != rom.crc || named->size != rom.size);
}

}  // namespace

bool ClashesInFamily(const GameList& database, const GameSet& game, const RomEntry& rom) {
  if (!game.hasParent || rom.inParent || game.parentIndex < 0) return false;
  const GameSet& parent = database[game.parentIndex];
  if (RomNamedLike(parent, rom.name) != nullptr) return true;
  for (const CloneRef& clone : parent.clones) {
    if (clone.index == game.index) break;
    if (clone.index >= 0 && HoldsOtherContent(database[clone.index], rom)) return true;
  }
  return false;
}

int FindRom(const GameSet& game, std::string_view name) {
  auto it = std::lower_bound(game.roms.begin(), game.roms.end(), name,
                             [](const RomEntry& rom, std::string_view key) { return rom.name < key; });
  if (it == game.roms.end() || it->name != name) return -1;
  return static_cast<int>(it - game.roms.begin());
}

bool LessByDescription(const GameSet& a, const GameSet& b) { return a.description < b.description; }
bool LessByNameNoCase(const GameSet& a, const GameSet& b) { return CompareNoCase(a.name, b.name) < 0; }
bool LessRomByName(const RomEntry& a, const RomEntry& b) { return a.name < b.name; }

}  // namespace kestrel
