#include "scanner/disk_set_check.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "archive/chd_header.h"
#include "gamedb/disk_home.h"
#include "gamedb/rom_home.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "scanner/set_lookup.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

constexpr char kDiskExtension[] = ".chd";

// Lower is better: a good copy ends the search, a missing disk is the worst.
int Rank(DiskState state) {
  switch (state) {
    case DiskState::kGood: return 0;
    case DiskState::kWrong: return 1;
    case DiskState::kUnknownVersion: return 2;
    case DiskState::kUnreadable: return 3;
    case DiskState::kMissing: return 4;
  }
  return 4;
}

// The set folder of `setName` in `romPath` as the file system spells it;
// nullopt when there is none.
std::optional<std::string> FindSetFolder(ScanContext& context, const std::string& romPath,
                                         const std::string& setName) {
  std::string setPath = SetPathOf(romPath, setName);
  if (setPath.empty()) return std::nullopt;
  std::optional<IndexedName> folder = LookUpSetFiles(context, setPath).folder;
  if (!folder) return std::nullopt;
  return folder->path;
}

// The places a disk is looked for in, the one the layout keeps it in first.
std::vector<DiskHome> PlacesOf(const ScanContext& context, const GameSet& game, const DiskEntry& disk) {
  SetLayout layout = context.settings.scanMergeMode;
  std::vector<DiskHome> places{DiskHomeOf(context.database, game, disk, layout)};
  auto add = [&](const GameSet* set, const std::string& name) {
    if (name.empty()) return;
    bool listed = std::any_of(places.begin(), places.end(),
                              [&](const DiskHome& place) { return place.set == set && place.name == name; });
    if (!listed) places.push_back({set, name});
  };
  for (const GameSet* set : SetsSearchedFor(context.database, game, layout)) {
    add(set, disk.name);
    add(set, disk.merge);
  }
  return places;
}

// What the file at `path` is as a copy of `disk`.
DiskScan JudgeCopy(ScanContext& context, const DiskEntry& disk, const std::string& path) {
  DiskScan copy;
  copy.foundPath = path;
  ChdHeader header = ReadChdHeader(context.fs, path);
  switch (header.status) {
    case ChdHeaderStatus::kGood:
      copy.foundSha1 = Sha1Text(header.sha1);
      copy.state = !disk.sha1 || *disk.sha1 == header.sha1 ? DiskState::kGood : DiskState::kWrong;
      break;
    case ChdHeaderStatus::kUnknownVersion:
      copy.state = DiskState::kUnknownVersion;
      copy.foundVersion = header.version;
      break;
    case ChdHeaderStatus::kUnreadable:
    case ChdHeaderStatus::kNotChd:
    case ChdHeaderStatus::kCutShort:
      copy.state = DiskState::kUnreadable;
      break;
  }
  return copy;
}

// A file of the name that does not open is there all the same: it is
// judged unreadable, not missing. A folder of the name is no disk.
std::optional<std::string> FindDiskFile(ScanContext& context, const std::string& folder, const std::string& name) {
  std::string fileName = name + kDiskExtension;
  if (!IsPlainFileName(fileName)) return std::nullopt;
  std::optional<std::string> path = context.fs.FindPath(JoinPath(folder, fileName));
  if (!path || context.fs.FolderExists(*path)) return std::nullopt;
  return path;
}

DiskScan FindBestCopy(ScanContext& context, const GameSet& game, const DiskEntry& disk) {
  DiskScan best;
  std::vector<DiskHome> places = PlacesOf(context, game, disk);
  for (const std::string& romPath : context.romPaths) {
    for (const DiskHome& place : places) {
      std::optional<std::string> folder = FindSetFolder(context, romPath, place.set->name);
      if (!folder) continue;
      std::optional<std::string> file = FindDiskFile(context, *folder, place.name);
      if (!file) continue;
      DiskScan copy = JudgeCopy(context, disk, *file);
      if (Rank(copy.state) < Rank(best.state)) best = std::move(copy);
      if (best.state == DiskState::kGood) return best;
    }
  }
  return best;
}

// Whether the disk file `stem` (the name without ".chd") is the disk's, by
// its own name or its `merge` name.
bool NamesDisk(const DiskEntry& disk, const std::string& stem) {
  return EqualsNoCase(disk.name, stem) || (!disk.merge.empty() && EqualsNoCase(disk.merge, stem));
}

// Whether some ROM path holds the disk where the layout keeps it.
bool LiesAtHome(ScanContext& context, const DiskHome& home) {
  for (const std::string& romPath : context.romPaths) {
    std::optional<std::string> folder = FindSetFolder(context, romPath, home.set->name);
    if (folder && FindDiskFile(context, *folder, home.name)) return true;
  }
  return false;
}

// A disk of a game sharing the set is needed where the layout keeps it; a
// copy of it elsewhere in the family (the game's own name for a disk its
// parent holds, say) is needed, as a ROM's is, unless Advanced Unneeded
// finds it where it belongs.
bool IsDiskNeededIn(ScanContext& context, const GameSet& set, const std::string& stem) {
  SetLayout layout = context.settings.scanMergeMode;
  for (const GameSet* sharer : GamesSharing(context.database, set, layout)) {
    for (const DiskEntry& disk : sharer->disks) {
      DiskHome home = DiskHomeOf(context.database, *sharer, disk, layout);
      if (EqualsNoCase(home.name, stem) && home.set == &set) return true;
      if (NamesDisk(disk, stem) && (!LiesAtHome(context, home) || !context.settings.advancedUnneeded)) return true;
    }
  }
  return false;
}

}  // namespace

bool IsDiskFileName(std::string_view name) { return HasSuffixNoCase(name, kDiskExtension); }

void CheckGameDisks(ScanContext& context, const GameSet& game, SetScan& scan) {
  scan.disks.resize(game.disks.size());
  for (size_t i = 0; i < game.disks.size(); ++i) scan.disks[i] = FindBestCopy(context, game, game.disks[i]);
}

void CheckUnneededDisks(ScanContext& context, const GameSet& game, SetScan& scan) {
  for (const std::string& romPath : context.romPaths) {
    std::optional<std::string> folder = FindSetFolder(context, romPath, game.name);
    if (!folder) continue;
    for (const FolderEntry& file : context.fs.ListFolder(*folder)) {
      if (file.isFolder || !IsDiskFileName(file.name)) continue;
      std::string stem = file.name.substr(0, file.name.size() - std::size(kDiskExtension) + 1);
      if (!IsDiskNeededIn(context, game, stem)) scan.unneededDisks.push_back(JoinPath(*folder, file.name));
    }
  }
}

}  // namespace kestrel
