#include "scanner/unneeded_check.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>

#include "gamedb/rom_home.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "scanner/disk_set_check.h"
#include "scanner/repair_support.h"
#include "scanner/set_lookup.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

using NeededTest = std::function<bool(const std::string& name)>;

// One ROM of the games that share a set: the game's place in GamesSharing and
// the ROM's index in its `roms`; ordered as a walk over them would meet it.
struct RomRef {
  size_t owner = 0;
  size_t rom = 0;
  auto operator<=>(const RomRef&) const = default;
};

// The ROMs of the games sharing a set by every name a file may bear to be
// one of them: the ROM's own name and, with double names allowed, its
// aliases, which MAME accepts as well, so that a file under one is needed as
// much as one under the ROM's own name, or a removal would take away the
// only copy. An alias group is listed once, however many ROMs share it, so
// a family with thousands of copies of one content stays linear.
struct RomNameIndex {
  std::vector<const GameSet*> owners;
  std::unordered_map<std::string, std::vector<RomRef>> byOwnName;  // lowered name
  std::unordered_map<std::string, std::vector<const AliasGroup*>> groupsByName;  // lowered alias
  std::unordered_map<const AliasGroup*, std::vector<RomRef>> romsOfGroup;
};

RomNameIndex IndexRomNames(const ScanContext& context, const GameSet& game) {
  RomNameIndex index;
  index.owners = GamesSharing(context.database, game, context.settings.scanMergeMode);
  for (size_t owner = 0; owner < index.owners.size(); ++owner) {
    const std::vector<RomEntry>& roms = index.owners[owner]->roms;
    for (size_t i = 0; i < roms.size(); ++i) {
      index.byOwnName[ToLowerAscii(roms[i].name)].push_back({owner, i});
      const AliasGroup* group = roms[i].aliasGroup.get();
      if (!context.settings.allowDoubleNames || group == nullptr) continue;
      std::vector<RomRef>& members = index.romsOfGroup[group];
      if (members.empty()) {
        std::unordered_set<std::string> names;
        for (const std::string& alias : *group) {
          std::string lowered = ToLowerAscii(alias);
          if (names.insert(lowered).second) index.groupsByName[lowered].push_back(group);
        }
      }
      members.push_back({owner, i});
    }
  }
  return index;
}

// Whether `visit` holds for a ROM named `name` (without case); the ROMs are
// visited in walk order, each once, until it does. The lists met are merged
// as they are walked: a file under a name of a content with thousands of
// copies is mostly needed by the first of them.
bool AnyRomNamed(const RomNameIndex& index, const std::string& name,
                 const std::function<bool(const RomRef&)>& visit) {
  std::string lowered = ToLowerAscii(name);
  std::vector<std::span<const RomRef>> lists;
  if (auto own = index.byOwnName.find(lowered); own != index.byOwnName.end()) lists.emplace_back(own->second);
  if (auto groups = index.groupsByName.find(lowered); groups != index.groupsByName.end()) {
    for (const AliasGroup* group : groups->second) lists.emplace_back(index.romsOfGroup.at(group));
  }
  std::optional<RomRef> previous;
  for (;;) {
    std::span<const RomRef>* next = nullptr;
    for (std::span<const RomRef>& list : lists) {
      if (!list.empty() && (next == nullptr || list.front() < next->front())) next = &list;
    }
    if (next == nullptr) return false;
    RomRef ref = next->front();
    *next = next->subspan(1);
    if (previous == ref) continue;
    previous = ref;
    if (visit(ref)) return true;
  }
}

// Whether `name` is the file of one of the game's samples.
bool HasSampleNamed(const GameSet& game, const std::string& name) {
  return std::any_of(game.samples.begin(), game.samples.end(), [&](const SampleEntry& sample) {
    std::vector<std::string> fileNames = SampleFileNames(game, sample);
    return std::any_of(fileNames.begin(), fileNames.end(),
                       [&](const std::string& fileName) { return EqualsNoCase(fileName, name); });
  });
}

// Whether the set `setName` in one of `paths` holds the file.
bool AnySetHolds(ScanContext& context, const std::vector<std::string>& paths,
                 const std::string& setName, const std::string& name) {
  for (const std::string& path : paths) {
    std::string setPath = SetPathOf(path, setName);
    if (!setPath.empty() && FindFileInSet(context.fs, context.folders, context.zipHeaderCheck, setPath + "/" + name, false, 0, 0)) {
      return true;
    }
  }
  return false;
}

// A copy that also lies where the layout puts it is needed only while
// Advanced Unneeded is off.
bool NeededUnlessFoundElsewhere(ScanContext& context, const std::string& setName,
                                const std::string& name) {
  if (!AnySetHolds(context, context.romPaths, setName, name)) return true;
  return !context.settings.advancedUnneeded;
}

void CollectUnneeded(ScanContext& context, const GameSet& game, std::vector<FoundEntry>& unneeded,
                     const std::string& setPath, const NeededTest& isNeeded) {
  std::unordered_set<std::string> listed = ListedNames(unneeded);
  // `makeEntry` gives what only its kind of place knows, made only for a
  // file that is not needed: most are.
  auto consider = [&](const std::string& name, const std::string& fullName, auto makeEntry) {
    if (isNeeded(name)) {
      context.state.neededNames.insert(ToLowerAscii(fullName));
      return;
    }
    FoundEntry entry = makeEntry();
    entry.name = fullName;
    entry.setName = game.name;
    AddFoundEntry(unneeded, listed, std::move(entry));
  };
  SetOnDisk set = OpenSet(context, setPath);
  for (const ZipEntry& member : set.entries) {
    consider(member.name, JoinPath(set.path, member.name), [&] {
      FoundEntry entry;
      entry.inZip = true;
      entry.zipPath = ArchiveFileOf(set);
      entry.storedName = member.storedName;
      entry.zipEntry = member;
      return entry;
    });
  }
  if (!set.hasFolder) return;
  for (const FolderEntry& file : context.fs.ListFolder(set.folderPath)) {
    consider(file.name, JoinPath(set.folderPath, file.name), [&] {
      FoundEntry entry;
      entry.isFolder = file.isFolder;
      return entry;
    });
  }
}

}  // namespace

namespace {

bool IsNeededInRomSet(ScanContext& context, const GameSet& game, const RomNameIndex& index,
                      const std::string& name) {
  SetLayout layout = context.settings.scanMergeMode;
  return AnyRomNamed(index, name, [&](const RomRef& ref) {
    const GameSet& owner = *index.owners[ref.owner];
    RomHome home = HomeOf(context.database, owner, owner.roms[ref.rom], layout);
    if (home.set == &game) return true;
    // A copy of a ROM the layout keeps elsewhere.
    return NeededUnlessFoundElsewhere(context, home.set->name, home.name);
  });
}

}  // namespace

bool IsNeededInRomSet(ScanContext& context, const GameSet& game, const std::string& name) {
  return IsNeededInRomSet(context, game, IndexRomNames(context, game), name);
}

// Whether a game that takes its samples from the game's sample set has a
// sample in the file: the set of `invaders` holds what its clones play.
bool IsTakenByOtherGames(const ScanContext& context, const GameSet& game, const std::string& name) {
  auto users = context.sampleSetUsers.find(ToLowerAscii(game.name));
  if (users == context.sampleSetUsers.end()) return false;
  return std::any_of(users->second.begin(), users->second.end(),
                     [&](const GameSet* user) { return user != &game && HasSampleNamed(*user, name); });
}

bool IsNeededInSampleSet(ScanContext& context, const GameSet& game, const std::string& name) {
  if (IsTakenByOtherGames(context, game, name)) return true;
  if (!HasSampleNamed(game, name)) return false;
  if (!context.settings.altSamplesSupport || !game.hasSampleOf) return true;
  if (!AnySetHolds(context, context.samplePaths, game.sampleOf, name)) return true;
  return !context.settings.advancedUnneeded;
}

void CheckRomSetUnneeded(ScanContext& context, const GameSet& game, SetScan& scan,
                         const std::string& romPath) {
  // CHD files are the disk check's: it reports those no disk names, and
  // never removes one.
  RomNameIndex index = IndexRomNames(context, game);
  CollectUnneeded(context, game, scan.unneeded, SetPathOf(romPath, game.name), [&](const std::string& name) {
    return IsDiskFileName(name) || IsNeededInRomSet(context, game, index, name);
  });
  DropProtectedEntries(context, scan.unneeded);
}

void CheckSampleSetUnneeded(ScanContext& context, const GameSet& game, SetScan& scan,
                            const std::string& samplePath) {
  CollectUnneeded(context, game, scan.unneeded, SetPathOf(samplePath, game.name),
                  [&](const std::string& name) { return IsNeededInSampleSet(context, game, name); });
  DropProtectedEntries(context, scan.unneeded);
}

void DropProtectedEntries(const ScanContext& context, std::vector<FoundEntry>& entries) {
  if (entries.empty()) return;  // the usual case: spares finding the protected folders
  std::vector<std::string> folders = ProtectedFolders(context);
  std::erase_if(entries, [&](const FoundEntry& entry) {
    return TouchesAnyFolder(folders, entry.inZip ? entry.zipPath : entry.name);
  });
}

void DropNeededEntries(const ScanContext& context, std::vector<FoundEntry>& entries) {
  const auto& needed = context.state.neededNames;
  if (needed.empty()) return;
  std::erase_if(entries, [&](const FoundEntry& entry) { return needed.count(ToLowerAscii(entry.name)) > 0; });
}

std::unordered_set<std::string> ListedNames(const std::vector<FoundEntry>& entries) {
  std::unordered_set<std::string> listed;
  for (const FoundEntry& entry : entries) listed.insert(ToLowerAscii(entry.name));
  return listed;
}

void AddFoundEntry(std::vector<FoundEntry>& entries, std::unordered_set<std::string>& listed,
                   FoundEntry entry) {
  if (listed.insert(ToLowerAscii(entry.name)).second) entries.push_back(std::move(entry));
}

}  // namespace kestrel
