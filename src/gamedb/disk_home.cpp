#include "gamedb/disk_home.h"

#include "gamedb/rom_home.h"
#include "platform/text.h"

namespace kestrel {
namespace {

// A damaged list may link a BIOS set and a parent in a circle; no real
// chain of shared disks is longer than a clone, its parent and a BIOS set.
constexpr int kMaxShareDepth = 4;

const GameSet* SetAt(const GameList& database, int index) {
  return index >= 0 && size_t(index) < database.size() ? &database[size_t(index)] : nullptr;
}

// The disk of `holder` that `disk` shares by its `merge` name: the same
// name and the same SHA-1 (or both without a dump).
const DiskEntry* SharedCopyIn(const GameSet& holder, const DiskEntry& disk) {
  if (disk.merge.empty()) return nullptr;
  const DiskEntry* copy = FindDisk(holder, disk.merge);
  return copy != nullptr && copy->sha1 == disk.sha1 ? copy : nullptr;
}

DiskHome HomeAtDepth(const GameList& database, const GameSet& game, const DiskEntry& disk, SetLayout layout,
                     int depth) {
  if (layout == SetLayout::kNonMerged || depth >= kMaxShareDepth) return {&game, disk.name};
  const GameSet* parent = game.hasParent ? SetAt(database, game.parentIndex) : nullptr;
  for (const GameSet* holder : {parent, SetAt(database, game.biosIndex)}) {
    if (holder == nullptr || holder == &game) continue;
    if (const DiskEntry* copy = SharedCopyIn(*holder, disk)) {
      return HomeAtDepth(database, *holder, *copy, layout, depth + 1);
    }
  }
  if (layout == SetLayout::kMerged && parent != nullptr && FindDisk(*parent, disk.name) == nullptr) {
    return {parent, disk.name};
  }
  return {&game, disk.name};
}

}  // namespace

DiskHome DiskHomeOf(const GameList& database, const GameSet& game, const DiskEntry& disk, SetLayout layout) {
  return HomeAtDepth(database, game, disk, layout, 0);
}

const DiskEntry* FindDisk(const GameSet& set, std::string_view name) {
  const DiskEntry* found = nullptr;
  for (const DiskEntry& disk : set.disks) {
    if (disk.name == name) return &disk;
    if (found == nullptr && EqualsNoCase(disk.name, name)) found = &disk;
  }
  return found;
}

bool HoldsAnyDiskDump(const GameList& database, const GameSet& set, SetLayout layout) {
  for (const GameSet* game : GamesSharing(database, set, layout)) {
    for (const DiskEntry& disk : game->disks) {
      if (disk.sha1 && disk.status != DumpStatus::kNoDump && DiskHomeOf(database, *game, disk, layout).set == &set) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace kestrel
