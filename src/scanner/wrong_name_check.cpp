#include "scanner/wrong_name_check.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "archive/zip_reader.h"
#include "gamedb/rom_home.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "scanner/disk_set_check.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

struct Classification {
  bool namedLikeZeroCrc = false;
  const RomEntry* candidate = nullptr;  // the last ROM whose CRC matched
  bool correctlyNamed = false;
};

// One game's ROMs by what a file is matched on, so that a set of many files
// against a game of many ROMs stays linear: each file costs a few lookups
// instead of a walk over every ROM.
struct RomsIndex {
  std::unordered_map<uint32_t, int> lastByCrc;         // the last ROM of each crc
  std::unordered_map<uint32_t, int> lastByComplement;  // likewise of each crcComplement
  std::unordered_map<std::string, std::vector<int>> byName;  // lowered name, in ROM order
};

RomsIndex IndexRoms(const GameSet& game) {
  RomsIndex index;
  for (size_t i = 0; i < game.roms.size(); ++i) {
    const RomEntry& rom = game.roms[i];
    index.lastByCrc[rom.crc] = static_cast<int>(i);
    index.lastByComplement[rom.crcComplement] = static_cast<int>(i);
    index.byName[ToLowerAscii(rom.name)].push_back(static_cast<int>(i));
  }
  return index;
}

// The games whose ROMs a file is classified against, each indexed once for
// the whole set.
class IndexedGames {
 public:
  const RomsIndex& Of(const GameSet& game) {
    auto found = indexes_.find(&game);
    if (found == indexes_.end()) found = indexes_.emplace(&game, IndexRoms(game)).first;
    return found->second;
  }

 private:
  std::unordered_map<const GameSet*, RomsIndex> indexes_;
};

int LastIndexOf(const std::unordered_map<uint32_t, int>& map, uint32_t key) {
  auto found = map.find(key);
  return found == map.end() ? -1 : found->second;
}

// Classifies the file against one game's ROMs, as a walk in ROM order would:
// correctly named when a ROM of its name (without case) has its CRC; else the
// candidate is the last ROM with its CRC, and a ROM of its name without a
// dump marks it named like one. True when the file turned out correctly
// named.
bool WalkRoms(const GameSet& game, const RomsIndex& index, const std::string& loweredName,
              uint32_t crc, bool withComplement, Classification& result) {
  auto named = index.byName.find(loweredName);
  if (named != index.byName.end()) {
    for (int i : named->second) {
      const RomEntry& rom = game.roms[size_t(i)];
      if (crc == rom.crc || (withComplement && crc == rom.crcComplement)) {
        result.candidate = &rom;
        return result.correctlyNamed = true;
      }
      if (rom.noDump) result.namedLikeZeroCrc = true;
    }
  }
  int last = LastIndexOf(index.lastByCrc, crc);
  if (withComplement) last = std::max(last, LastIndexOf(index.lastByComplement, crc));
  if (last >= 0) result.candidate = &game.roms[size_t(last)];
  return false;
}

Classification ClassifyFile(const ScanContext& context, IndexedGames& indexes, const GameSet& game,
                            const std::string& name, uint32_t crc) {
  Classification result;
  std::string lowered = ToLowerAscii(name);
  if (WalkRoms(game, indexes.Of(game), lowered, crc, true, result)) return result;
  if (KeepsFamiliesApart(context.settings.scanMergeMode)) return result;
  // Parents and clones share a set in these layouts, so a relative's ROM is
  // rightly there; only the plain CRC counts for relatives.
  if (game.isParent) {
    for (const CloneRef& clone : game.clones) {
      if (clone.index < 0 || clone.index >= static_cast<int>(context.database.size())) continue;
      const GameSet& relative = context.database[clone.index];
      if (WalkRoms(relative, indexes.Of(relative), lowered, crc, false, result)) return result;
    }
  }
  if (game.hasParent) {
    if (const GameSet* parent = ParentOf(context, game)) WalkRoms(*parent, indexes.Of(*parent), lowered, crc, false, result);
  }
  return result;
}

void AddIfWrongNamed(const ScanContext& context, IndexedGames& indexes, const GameSet& game,
                     const std::string& setPath, const std::string& name, uint32_t crc,
                     const ZipEntry* member, std::vector<WrongNameEntry>& found) {
  Classification result = ClassifyFile(context, indexes, game, name, crc);
  if (result.correctlyNamed || result.candidate == nullptr || result.candidate->crc == 0 ||
      result.namedLikeZeroCrc) {
    return;
  }
  WrongNameEntry entry;
  entry.foundName = name;
  entry.rightName = result.candidate->name;
  entry.fullPath = JoinPath(setPath, name);
  if (member != nullptr) {
    entry.inZip = true;
    entry.storedName = member->storedName;
    entry.zipEntry = *member;
  }
  found.push_back(std::move(entry));
}

}  // namespace

void CheckWrongNames(ScanContext& context, const GameSet& game, const SetOnDisk& set,
                     std::vector<WrongNameEntry>& found) {
  IndexedGames indexes;
  if (set.isZip) {
    for (const ZipEntry& member : set.entries) {
      AddIfWrongNamed(context, indexes, game, set.path, member.name, member.crc, &member, found);
    }
    return;
  }
  if (!set.hasFolder) return;
  for (const FolderEntry& file : context.fs.ListFolder(set.folderPath)) {
    // A disk image is no ROM, and may be gigabytes long.
    if (file.isFolder || IsDiskFileName(file.name)) continue;
    uint32_t size = 0;
    uint32_t crc = 0;
    ReadFileCrc(context.fs, JoinPath(set.folderPath, file.name), size, crc);
    AddIfWrongNamed(context, indexes, game, set.path, file.name, crc, nullptr, found);
  }
}

}  // namespace kestrel
