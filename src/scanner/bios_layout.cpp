#include "scanner/bios_layout.h"

#include <algorithm>

#include "settings/settings_record.h"

namespace kestrel {
namespace {

// Whether the ROM lies in its own set's family rather than in a BIOS set.
// Without a known dump there is nothing the layout must hold.
bool LivesInFamily(const ScanContext& context, const GameSet& game, const RomEntry& rom) {
  return !rom.noDump && BiosCopyOf(context, game, rom) == nullptr;
}

// Whether a split clone's ROM lies in its parent's set: the parent has a ROM
// of its name, or the one its `merge` names with its content (found there
// as an alias when double names are allowed).
bool LivesInParent(const ScanContext& context, const GameSet& game, const RomEntry& rom) {
  if (rom.inParent) return true;
  const GameSet* parent = ParentOf(context, game);
  if (parent == nullptr || rom.merge.empty()) return false;
  int index = FindRom(*parent, rom.merge);
  return index >= 0 && parent->roms[index].crc == rom.crc && parent->roms[index].size == rom.size;
}

bool HasFamilyRom(const ScanContext& context, const GameSet& game, bool withParentRoms) {
  return std::any_of(game.roms.begin(), game.roms.end(), [&](const RomEntry& rom) {
    return LivesInFamily(context, game, rom) && (withParentRoms || !LivesInParent(context, game, rom));
  });
}

bool HasClashingRom(const ScanContext& context, const GameSet& game) {
  return std::any_of(game.roms.begin(), game.roms.end(), [&](const RomEntry& rom) {
    return !rom.noDump && ClashesInFamily(context.database, game, rom);
  });
}

}  // namespace

const RomEntry* BiosCopyOf(const ScanContext& context, const GameSet& game, const RomEntry& rom) {
  if (context.settings.scanMergeMode == 0) return nullptr;
  return BiosRomOf(context.database, game, rom);
}

bool LayoutFillsOwnSet(const ScanContext& context, const GameSet& game) {
  switch (context.settings.scanMergeMode) {
    case 0:
      return true;
    case 1:
      // A clone's set holds the ROMs that its parent has no ROM of that name for.
      return HasFamilyRom(context, game, !game.hasParent);
    default: {
      // A merged family shares one set, named after the parent; a clone keeps
      // a set of its own only for ROMs named like other contents of its family.
      if (HasClashingRom(context, game)) return true;
      const GameSet* head = game.hasParent ? ParentOf(context, game) : &game;
      if (head == nullptr) return true;
      if (HasFamilyRom(context, *head, true)) return true;
      return std::any_of(head->clones.begin(), head->clones.end(), [&](const CloneRef& clone) {
        return clone.index >= 0 && clone.index < static_cast<int>(context.database.size()) &&
               HasFamilyRom(context, context.database[clone.index], true);
      });
    }
  }
}

}  // namespace kestrel
