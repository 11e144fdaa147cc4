#include "gamedb/rom_home.h"

#include <algorithm>

namespace kestrel {
namespace {

bool IsValidIndex(const GameList& database, int index) { return index >= 0 && size_t(index) < database.size(); }

const GameSet* ParentOf(const GameList& database, const GameSet& game) {
  return game.hasParent && IsValidIndex(database, game.parentIndex) ? &database[size_t(game.parentIndex)] : nullptr;
}

bool SameContent(const RomEntry& a, const RomEntry& b) { return a.crc == b.crc && a.size == b.size; }

void AddOnce(std::vector<const GameSet*>& sets, const GameSet* set) {
  if (std::find(sets.begin(), sets.end(), set) == sets.end()) sets.push_back(set);
}

// The parent's ROM with the same content as the clone's `rom`, under the
// ROM's name or its `merge` name; null when the parent holds no such ROM.
const RomEntry* ParentCopyOf(const GameList& database, const GameSet& game, const RomEntry& rom) {
  const GameSet* parent = ParentOf(database, game);
  if (parent == nullptr) return nullptr;
  for (const std::string* name : {&rom.name, &rom.merge}) {
    if (name->empty()) continue;
    int index = FindRom(*parent, *name);
    if (index >= 0 && SameContent(parent->roms[size_t(index)], rom)) return &parent->roms[size_t(index)];
  }
  return nullptr;
}

}  // namespace

bool KeepsFamiliesApart(SetLayout layout) {
  return layout == SetLayout::kNonMerged || layout == SetLayout::kFullNonMerged;
}

RomHome HomeOf(const GameList& database, const GameSet& game, const RomEntry& rom, SetLayout layout) {
  if (layout == SetLayout::kFullNonMerged) return {&game, rom.name};
  // A device's ROM lives where the device's own set keeps it, which may be
  // the set its `romof` names (i8245's ROM is i8244's).
  if (const RomEntry* deviceRom = DeviceRomOf(database, rom))
    return HomeOf(database, database[size_t(rom.deviceSet)], *deviceRom, layout);
  if (const RomEntry* biosRom = BiosRomOf(database, game, rom))
    return {&database[size_t(game.biosIndex)], biosRom->name};
  if (layout == SetLayout::kNonMerged) return {&game, rom.name};
  const GameSet* parent = ParentOf(database, game);
  if (parent == nullptr) return {&game, rom.name};
  if (const RomEntry* parentRom = ParentCopyOf(database, game, rom)) return {parent, parentRom->name};
  if (layout == SetLayout::kMerged && !ClashesInFamily(database, game, rom)) return {parent, rom.name};
  return {&game, rom.name};
}

std::vector<const GameSet*> SetsSearchedFor(const GameList& database, const GameSet& game, SetLayout layout) {
  std::vector<const GameSet*> sets{&game};
  if (layout == SetLayout::kFullNonMerged) return sets;
  if (const GameSet* parent = ParentOf(database, game); parent != nullptr && !KeepsFamiliesApart(layout))
    sets.push_back(parent);
  if (IsValidIndex(database, game.biosIndex)) AddOnce(sets, &database[size_t(game.biosIndex)]);
  for (const GameSet* device : DeviceSetsOf(database, game)) AddOnce(sets, device);
  return sets;
}

std::vector<const GameSet*> DeviceSetsOf(const GameList& database, const GameSet& game) {
  std::vector<const GameSet*> sets;
  for (int index : game.devices) {
    if (!IsValidIndex(database, index)) continue;
    const GameSet& device = database[size_t(index)];
    AddOnce(sets, &device);
    if (IsValidIndex(database, device.biosIndex)) AddOnce(sets, &database[size_t(device.biosIndex)]);
  }
  return sets;
}

std::vector<const GameSet*> GamesSharing(const GameList& database, const GameSet& set, SetLayout layout) {
  std::vector<const GameSet*> games{&set};
  if (KeepsFamiliesApart(layout)) return games;
  for (const CloneRef& clone : set.clones)
    if (IsValidIndex(database, clone.index)) games.push_back(&database[size_t(clone.index)]);
  return games;
}

bool HoldsAnyDump(const GameList& database, const GameSet& set, SetLayout layout) {
  for (const GameSet* game : GamesSharing(database, set, layout)) {
    for (const RomEntry& rom : game->roms)
      if (!rom.noDump && HomeOf(database, *game, rom, layout).set == &set) return true;
  }
  return false;
}

}  // namespace kestrel
