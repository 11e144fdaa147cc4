#include "scanner/rom_set_check.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "archive/file_sha1.h"
#include "archive/member_data.h"
#include "archive/zip_reader.h"
#include "gamedb/rom_home.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "scanner/fix_operations.h"
#include "scanner/set_lookup.h"
#include "scanner/wrong_name_check.h"
#include "scanner/zero_crc_dummy.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

// Where a ROM was found in a set: a zip member, or a loose file.
struct RomLocation {
  bool present = false;
  int memberIndex = -1;
  std::string filePath;  // loose file as the file system spells it
  // Not present, yet something of its name is there that cannot be read:
  // the set's zip, or the loose file.
  bool unreadable = false;
};

// A loose file of the name that does not open is there but unreadable;
// a folder of the name is no file at all.
bool IsUnreadableLooseFile(FileSystem& fs, const std::string& folder, const std::string& name) {
  if (!IsPlainFileName(name)) return false;
  std::optional<std::string> path = fs.FindPath(JoinPath(folder, name));
  return path && !fs.FolderExists(*path);
}

RomLocation LocateRom(const ScanContext& context, const SetOnDisk& set, const std::string& name) {
  RomLocation location;
  if (set.isZip) {
    location.memberIndex = FindMember(set, name);
    location.present = location.memberIndex >= 0;
    return location;
  }
  location.unreadable = !set.unreadableZip.empty();
  std::optional<std::string> path;
  if (set.hasFolder) path = FindLooseFile(context.fs, set.folderPath, name);
  if (path) {
    location.present = true;
    location.unreadable = false;
    location.filePath = *path;
  } else if (set.hasFolder && IsUnreadableLooseFile(context.fs, set.folderPath, name)) {
    location.unreadable = true;
  }
  return location;
}

// For each alias group met in one set, the position in the group of the
// first name the set holds; -1 when it holds none. Every ROM of a group asks
// the same question, so a family with thousands of copies of one content
// asks the set once. Valid while the set is unchanged.
using FirstAliasPresent = std::unordered_map<const AliasGroup*, int>;

int FindFirstAliasPresent(const ScanContext& context, const SetOnDisk& set, const AliasGroup& group,
                          FirstAliasPresent& known) {
  auto found = known.find(&group);
  if (found != known.end()) return found->second;
  int first = -1;
  std::unordered_set<std::string> tried;
  for (size_t i = 0; i < group.size() && first < 0; ++i) {
    if (tried.insert(group[i]).second && LocateRom(context, set, group[i]).present) first = int(i);
  }
  known.emplace(&group, first);
  return first;
}

// Looks the ROM up under `name` (its name in the set where the layout keeps
// it, else its own); with `withAliases` also under its own name, and with
// double names allowed under its aliases in group order, as MAME finds a ROM
// of the right content whatever its name. The search name records which
// name was used, or the last alias tried. A BIOS set knows the ROM by its own
// name for it alone.
RomLocation LocateRomByAnyName(const ScanContext& context, const RomEntry& rom, RomScan& scan,
                               const SetOnDisk& set, const std::string& name, bool withAliases,
                               FirstAliasPresent& aliasesPresent) {
  scan.searchName = name;
  RomLocation location = LocateRom(context, set, name);
  if (location.present || !withAliases) return location;
  if (name != rom.name) {
    location = LocateRom(context, set, rom.name);
    if (location.present) {
      scan.searchName = rom.name;
      return location;
    }
  }
  if (!context.settings.allowDoubleNames) return location;
  // The ROM's own name is not in the set, so the first alias present is
  // never that name.
  const AliasGroup& aliases = AliasGroupOf(rom);
  int first = FindFirstAliasPresent(context, set, aliases, aliasesPresent);
  if (first >= 0) {
    scan.searchName = aliases[size_t(first)];
    return LocateRom(context, set, scan.searchName);
  }
  for (auto alias = aliases.rbegin(); alias != aliases.rend(); ++alias) {
    if (*alias == rom.name) continue;
    scan.searchName = *alias;
    return LocateRom(context, set, *alias);
  }
  return location;
}

bool IsAcceptedBiosRom(const ScanState& state, const RomEntry& rom) {
  for (size_t i = 0; i < 3; ++i) {
    if (EqualsNoCase(rom.name, kNeoGeoBiosFiles[i])) return true;
  }
  return state.biosWithImBiosFound && EqualsNoCase(rom.name, kNeoGeoBiosFiles[3]);
}

void AcceptBiosRom(RomEntry& rom, RomScan& scan) {
  rom.noDump = false;
  scan.found = true;
  scan.inListedSet = true;
  scan.lengthCorrect = true;
  scan.caseCorrect = true;
  scan.checksumCorrect = true;
}

void CheckRomCase(ScanContext& context, const GameSet& game, RomScan& scan, SetOnDisk& set,
                  const RomLocation& location) {
  std::string foundPath = set.isZip ? JoinPath(set.path, set.entries[location.memberIndex].name)
                                    : location.filePath;
  scan.foundName = FileNamePart(foundPath);
  scan.caseCorrect = scan.foundName == scan.searchName;
  if (!scan.caseCorrect && context.settings.fixCase) {
    scan.caseFixed = FixRomCase(context, game, scan, set.path, foundPath, set.entries);
  }
}

void CheckRomLength(ScanContext& context, const GameSet& game, const RomEntry& rom, RomScan& scan,
                    SetOnDisk& set, RomLocation& location) {
  if (set.isZip) {
    scan.foundSize = set.entries[location.memberIndex].size;
  } else {
    std::optional<uint64_t> size = context.fs.FileSize(location.filePath);
    // A file beyond 32 bits must not pass for the few bytes above them.
    scan.foundSize = size ? static_cast<uint32_t>(std::min<uint64_t>(*size, UINT32_MAX)) : 0;
  }
  uint32_t expected = static_cast<uint32_t>(rom.size);
  scan.lengthCorrect = scan.foundSize == expected;
  // A short file cannot be repaired by cutting; only long ones are offered.
  if (scan.lengthCorrect || !context.settings.fixLength || scan.foundSize < expected) return;
  ShowFixingCaption(context);
  std::string filePath = set.isZip ? ArchiveFileOf(set) : location.filePath;
  scan.lengthFixed = ResizeRom(context, game, rom, scan, filePath, set.isZip, set.entries);
  ShowScanningCaption(context);
  if (scan.lengthFixed && set.isZip) {
    set = OpenSet(context, set.path);
    location = LocateRom(context, set, scan.searchName);
    scan.memberIndex = location.memberIndex;
  }
}

// Reads the ROM's contents: a file whose size and CRC-32 match may still
// hold other data. One that cannot be read to its end is unreadable.
void CheckRomSha1(ScanContext& context, const RomEntry& rom, RomScan& scan, const SetOnDisk& set,
                  const RomLocation& location) {
  std::optional<Sha1Digest> found = set.isZip ? Sha1OfZipEntry(context.fs, set.entries[location.memberIndex])
                                              : Sha1OfFile(context.fs, location.filePath);
  PumpInterface(context);
  if (!found) {
    scan.unreadable = true;
    return;
  }
  scan.sha1Wrong = *found != *rom.sha1;
  scan.foundSha1 = Sha1Text(*found);
  if (scan.sha1Wrong) scan.checksumCorrect = false;
}

void CheckRomChecksum(ScanContext& context, const RomEntry& rom, RomScan& scan, const SetOnDisk& set,
                      const RomLocation& location) {
  if (set.isZip) {
    scan.foundCrc = set.entries[location.memberIndex].crc;
  } else {
    uint32_t size = 0;
    scan.foundCrc = 0;
    if (!ReadFileCrc(context.fs, location.filePath, size, scan.foundCrc)) scan.unreadable = true;
  }
  scan.checksumCorrect = scan.foundCrc == rom.crc || scan.foundCrc == rom.crcComplement;
  if (scan.checksumCorrect && !scan.unreadable && rom.sha1 && context.settings.checkSha1) {
    CheckRomSha1(context, rom, scan, set, location);
  }
}

// The checks on a ROM that is in the set. False when a stop was requested.
bool CheckPresentRom(ScanContext& context, const GameSet& game, const RomEntry& rom, RomScan& scan,
                     SetOnDisk& set, RomLocation& location) {
  const SettingsRecord& settings = context.settings;
  scan.found = true;
  scan.inListedSet = IsSpelledAsAsked(set);
  scan.memberIndex = location.memberIndex;
  scan.unreadable = set.isZip && !CanDecodeMember(set.entries[location.memberIndex]);
  context.state.createZipSet = set.isZip;
  if (settings.checkCase) CheckRomCase(context, game, scan, set, location);
  if (context.state.stopRequested) return false;
  // The case repair rewrites the member and reads the zip again.
  if (set.isZip && scan.caseFixed) {
    IndexMembers(set);
    location = LocateRom(context, set, scan.searchName);
    scan.memberIndex = location.memberIndex;
    if (!location.present) return true;
  }
  if (settings.checkLength) CheckRomLength(context, game, rom, scan, set, location);
  if (location.present && settings.checkChecksum) CheckRomChecksum(context, rom, scan, set, location);
  return !context.state.stopRequested;
}

// A ROM not in the set: a stand-in for a bad dump, or the shared NeoGeo
// BIOS. True when the ROM is now in the set and should be checked.
bool HandleAbsentRom(ScanContext& context, const GameSet& game, RomEntry& rom, RomScan& scan,
                     SetOnDisk& set, SetRole role, bool atHome, RomLocation& location) {
  if (role == SetRole::kOwnSet && !scan.found) {
    scan.searchName = rom.name;
    // A stand-in goes only where the layout keeps the ROM; a BIOS set or a
    // parent's set makes its own.
    // MAME needs no file for a ROM its list marks without a dump: none is made.
    bool wantsStandIn = rom.noDump && rom.status != DumpStatus::kNoDump && context.settings.zeroCrcCreation;
    if (wantsStandIn && atHome && PlaceZeroCrcDummy(context, rom, scan, set)) {
      location = LocateRom(context, set, rom.name);
      if (location.present) return true;
    }
  }
  if (game.hasNeoGeoBios && context.state.biosFound && IsAcceptedBiosRom(context.state, rom)) {
    AcceptBiosRom(rom, scan);
  }
  return false;
}

// The game of the list whose set plays `role` for `game`; null when none.
const GameSet* SetOfRole(const ScanContext& context, const GameSet& game, SetRole role, const GameSet* device) {
  switch (role) {
    case SetRole::kOwnSet:
      return &game;
    case SetRole::kParentSet:
      return ParentOf(context, game);
    case SetRole::kDeviceSet:
      return device;
    case SetRole::kBiosSet:
      break;
  }
  bool known = game.biosIndex >= 0 && size_t(game.biosIndex) < context.database.size();
  return known ? &context.database[size_t(game.biosIndex)] : nullptr;
}

// Each zip that could not be read is told once per game, whichever of its
// sets (own, parent's, BIOS) it is.
void NoteUnreadableSet(const SetOnDisk& set, SetScan& scan) {
  auto& listed = scan.unreadableSets;
  if (set.unreadableZip.empty() || std::find(listed.begin(), listed.end(), set.unreadableZip) != listed.end()) return;
  listed.push_back(set.unreadableZip);
}

// For MAME's verdict, which finds a ROM in its set or its parent's by its
// contents alone.
void NoteZipContents(const SetOnDisk& set, SetRole role, SetScan& scan) {
  if (role != SetRole::kOwnSet && role != SetRole::kParentSet) return;
  std::vector<uint64_t>& noted = role == SetRole::kOwnSet ? scan.zipContents : scan.parentZipContents;
  std::vector<uint64_t> contents = ZipContentsSeenByMame(set);
  noted.insert(noted.end(), contents.begin(), contents.end());
}

void FindWrongNames(ScanContext& context, const GameSet& game, SetScan& scan, SetOnDisk& set) {
  CheckWrongNames(context, game, set, scan.wrongNames);
  if (!context.settings.fixName || scan.wrongNames.empty()) return;
  ShowFixingCaption(context);
  RenameWrongNamedRoms(context, game, scan.wrongNames);
  ShowScanningCaption(context);
  set = OpenSet(context, set.path);
}

}  // namespace

void CheckRomSet(ScanContext& context, GameSet& game, SetScan& scan, const std::string& setPath,
                 SetRole role, const GameSet* device) {
  if (context.state.stopRequested) return;
  SetOnDisk set = OpenSet(context, setPath);
  NoteUnreadableSet(set, scan);
  NoteZipContents(set, role, scan);
  if (context.settings.checkName && role == SetRole::kOwnSet) FindWrongNames(context, game, scan, set);
  if (context.state.stopRequested) return;

  const GameSet* checked = SetOfRole(context, game, role, device);
  bool sharedSet = role == SetRole::kBiosSet || role == SetRole::kDeviceSet;
  FirstAliasPresent aliasesPresent;
  for (size_t i = 0; i < game.roms.size(); ++i) {
    RomEntry& rom = game.roms[i];
    RomScan& romScan = scan.roms[i];
    RomHome home = HomeOf(context.database, game, rom, context.settings.scanMergeMode);
    bool atHome = checked != nullptr && home.set == checked;
    if (sharedSet && !atHome) continue;
    PumpInterface(context);
    RomLocation location =
        LocateRomByAnyName(context, rom, romScan, set, atHome ? home.name : rom.name, !sharedSet, aliasesPresent);
    if (!location.present && location.unreadable && !romScan.found) romScan.unreadable = true;
    if (!location.present) {
      if (!HandleAbsentRom(context, game, rom, romScan, set, role, atHome, location)) continue;
      aliasesPresent.clear();  // a stand-in went into the set
    }
    romScan.foundElsewhere = role != SetRole::kOwnSet;
    if (!CheckPresentRom(context, game, rom, romScan, set, location)) return;
    if (romScan.caseFixed || romScan.lengthFixed) aliasesPresent.clear();  // the set was written again
  }
}

void NoteUnlistedParentZip(ScanContext& context, const std::string& setPath, SetScan& scan) {
  if (setPath.empty() || context.state.stopRequested) return;
  NoteZipContents(OpenSet(context, setPath), SetRole::kParentSet, scan);
}

}  // namespace kestrel
