#include "scanner/wrong_name_check.h"

#include <string>

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

// Walks one game's ROMs; true when the file turned out correctly named.
bool WalkRoms(const GameSet& game, const std::string& name, uint32_t crc, bool withComplement,
              Classification& result) {
  for (const RomEntry& rom : game.roms) {
    bool sameName = EqualsNoCase(name, rom.name);
    if (sameName && rom.noDump) result.namedLikeZeroCrc = true;
    if (crc == rom.crc || (withComplement && crc == rom.crcComplement)) {
      result.candidate = &rom;
      if (sameName) return result.correctlyNamed = true;
    }
  }
  return false;
}

Classification ClassifyFile(const ScanContext& context, const GameSet& game,
                            const std::string& name, uint32_t crc) {
  Classification result;
  if (WalkRoms(game, name, crc, true, result)) return result;
  if (KeepsFamiliesApart(context.settings.scanMergeMode)) return result;
  // Parents and clones share a set in these layouts, so a relative's ROM is
  // rightly there; only the plain CRC counts for relatives.
  if (game.isParent) {
    for (const CloneRef& clone : game.clones) {
      if (clone.index < 0 || clone.index >= static_cast<int>(context.database.size())) continue;
      if (WalkRoms(context.database[clone.index], name, crc, false, result)) return result;
    }
  }
  if (game.hasParent) {
    if (const GameSet* parent = ParentOf(context, game)) WalkRoms(*parent, name, crc, false, result);
  }
  return result;
}

void AddIfWrongNamed(const ScanContext& context, const GameSet& game, const std::string& setPath,
                     const std::string& name, uint32_t crc, const ZipEntry* member,
                     std::vector<WrongNameEntry>& found) {
  Classification result = ClassifyFile(context, game, name, crc);
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
  if (set.isZip) {
    for (const ZipEntry& member : set.entries) {
      AddIfWrongNamed(context, game, set.path, member.name, member.crc, &member, found);
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
    AddIfWrongNamed(context, game, set.path, file.name, crc, nullptr, found);
  }
}

}  // namespace kestrel
