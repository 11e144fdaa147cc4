#include "scanner/unneeded_check.h"

#include <algorithm>
#include <functional>

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

// Whether `name` is the ROM's name or, with double names allowed, one of its
// aliases: a ROM may be present under an alias, and that file is needed as
// much as one under the ROM's own name, or a removal would take away the
// only copy.
bool IsNameOf(const ScanContext& context, const RomEntry& rom, const std::string& name) {
  if (EqualsNoCase(rom.name, name)) return true;
  if (!context.settings.allowDoubleNames) return false;
  const AliasGroup& aliases = AliasGroupOf(rom);
  return std::any_of(aliases.begin(), aliases.end(),
                     [&](const std::string& alias) { return EqualsNoCase(alias, name); });
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
  // `entry` comes with what only its kind of place knows.
  auto consider = [&](const std::string& name, const std::string& fullName, FoundEntry entry) {
    if (isNeeded(name)) {
      context.state.neededNames.insert(fullName);
      return;
    }
    entry.name = fullName;
    entry.setName = game.name;
    AddFoundEntry(unneeded, listed, std::move(entry));
  };
  SetOnDisk set = OpenSet(context, setPath);
  for (const ZipEntry& member : set.entries) {
    FoundEntry entry;
    entry.inZip = true;
    entry.zipPath = set.path + ".zip";
    entry.storedName = member.storedName;
    entry.zipEntry = member;
    consider(member.name, JoinPath(set.path, member.name), std::move(entry));
  }
  if (!set.hasFolder) return;
  for (const FolderEntry& file : context.fs.ListFolder(set.folderPath)) {
    FoundEntry entry;
    entry.isFolder = file.isFolder;
    consider(file.name, JoinPath(set.folderPath, file.name), std::move(entry));
  }
}

}  // namespace

bool IsNeededInRomSet(ScanContext& context, const GameSet& game, const std::string& name) {
  SetLayout layout = context.settings.scanMergeMode;
  for (const GameSet* owner : GamesSharing(context.database, game, layout)) {
    for (const RomEntry& rom : owner->roms) {
      if (!IsNameOf(context, rom, name)) continue;
      RomHome home = HomeOf(context.database, *owner, rom, layout);
      if (home.set == &game) return true;
      // A copy of a ROM the layout keeps elsewhere.
      if (NeededUnlessFoundElsewhere(context, home.set->name, home.name)) return true;
    }
  }
  return false;
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
  CollectUnneeded(context, game, scan.unneeded, SetPathOf(romPath, game.name), [&](const std::string& name) {
    return IsDiskFileName(name) || IsNeededInRomSet(context, game, name);
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
  std::vector<std::string> folders = ProtectedFolders(context);
  std::erase_if(entries, [&](const FoundEntry& entry) {
    return TouchesAnyFolder(folders, entry.inZip ? entry.zipPath : entry.name);
  });
}

void DropNeededEntries(const ScanContext& context, std::vector<FoundEntry>& entries) {
  const auto& needed = context.state.neededNames;
  if (needed.empty()) return;
  std::erase_if(entries, [&](const FoundEntry& entry) { return needed.count(entry.name) > 0; });
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
