#include "report/set_verdict.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>
#include <unordered_set>

#include "platform/text.h"


namespace kestrel {
namespace {

// What MAME makes of one ROM, and whether it counts as found.
struct RomAudit {
  Verdict verdict = Verdict::kGood;
  const char* reason = "";
  bool found = false;
};

bool HasNoDump(const RomEntry& rom) { return rom.noDump || rom.status == DumpStatus::kNoDump; }

// The right names of the files found under a wrong name: MAME finds a ROM in
// a set by its CRC-32 too, whatever its name there. Looked up once per ROM,
// so a set of many wrongly named files stays linear.
std::unordered_set<std::string_view> RightNamesOfWrongNamed(const SetScan& scan) {
  std::unordered_set<std::string_view> names;
  for (const WrongNameEntry& entry : scan.wrongNames) names.insert(entry.rightName);
  return names;
}

// Whether the parent, the BIOS set or a device set holds the ROM too: MAME
// does not take such a ROM, found, as a sign that the set itself is there.
bool IsShared(const GameSet& game, const RomEntry& rom) {
  if (game.rules == ListRules::kSoftwareList) return false;
  return (game.hasParent && rom.inParent) || rom.biosRom >= 0 || !rom.merge.empty() || rom.deviceSet >= 0;
}

// The generation of the game's ancestors MAME takes for its parent when it
// tells a set that is there from one of which only shared ROMs are: the
// parent, unless the parent holds nothing but its BIOS set's ROMs; then the
// BIOS set. With neither, the game stands alone.
enum class NearestParent { kNone, kParent, kBios };

NearestParent NearestParentOf(const GameSet& game, ParentScan parent) {
  if (game.rules == ListRules::kSoftwareList) return NearestParent::kNone;
  if (game.hasParent && parent.game == nullptr) return NearestParent::kParent;
  if (game.hasParent) {
    const auto& roms = parent.game->roms;
    const bool ownRom = std::any_of(roms.begin(), roms.end(), [](const RomEntry& rom) {
      return rom.deviceSet < 0 && rom.biosRom < 0 && !HasNoDump(rom);
    });
    if (ownRom) return NearestParent::kParent;
  }
  return game.biosIndex >= 0 ? NearestParent::kBios : NearestParent::kNone;
}

// Whether a ROM found whole is one MAME takes as a sign of the nearest
// parent's set (see NearestParentOf): one shared with that generation and
// none farther. A device's ROM is only where the game stands alone.
bool IsNearestParentsRom(const GameSet& game, const RomEntry& rom, NearestParent nearest) {
  if (rom.deviceSet >= 0) return nearest == NearestParent::kNone;
  switch (nearest) {
    case NearestParent::kParent: return game.hasParent && (rom.inParent || !rom.merge.empty()) && rom.biosRom < 0;
    case NearestParent::kBios: return rom.biosRom >= 0;
    case NearestParent::kNone: break;
  }
  return false;
}

// A ROM MAME finds whole, wherever.
const RomScan kFoundRight = [] {
  RomScan scan;
  scan.found = scan.lengthCorrect = scan.caseCorrect = scan.checksumCorrect = scan.inListedSet = true;
  return scan;
}();

// Whether MAME sees the ROM found: a set under another spelling only is no
// set to MAME.
bool IsSeenByMame(const RomScan& scan) { return scan.found && scan.inListedSet; }

bool IsFoundWhole(const RomScan& scan) { return scan.found && scan.lengthCorrect && scan.checksumCorrect; }

// MAME takes a file of other contents only under the ROM's own name (in a
// zip, without case): a wrong file found in the set under another name of
// the ROM's contents in the family is none to it.
bool IsWrongUnderOtherName(const RomEntry& rom, const RomScan& scan) {
  return !IsFoundWhole(scan) && !scan.foundElsewhere && !scan.searchName.empty() &&
         !EqualsNoCase(scan.searchName, rom.name);
}

RomAudit AuditRom(const RomEntry& rom, const RomScan& romScan,
                  const std::unordered_set<std::string_view>& wrongNamedRoms) {
  const bool noDump = HasNoDump(rom);
  if (!romScan.found && !romScan.unreadable && wrongNamedRoms.count(rom.name) > 0) return {Verdict::kGood, "", true};
  if (!romScan.found) {
    if (noDump) return {Verdict::kBestAvailable, "NOT FOUND - NO GOOD DUMP KNOWN", false};
    if (rom.optional) return {Verdict::kBestAvailable, "NOT FOUND BUT OPTIONAL", false};
    return {Verdict::kBad, "NOT FOUND", false};
  }
  if (noDump) return {Verdict::kBestAvailable, "NO GOOD DUMP KNOWN", true};
  if (!romScan.lengthCorrect) return {Verdict::kBad, "INCORRECT LENGTH", true};
  if (!romScan.checksumCorrect) return {Verdict::kBad, "INCORRECT CHECKSUM", true};
  if (rom.status == DumpStatus::kBadDump) return {Verdict::kBestAvailable, "NEEDS REDUMP", true};
  return {Verdict::kGood, "", true};
}

// MAME's audit of a disk: the header's SHA-1 decides; a CHD it cannot read
// is one it did not find.
RomAudit AuditDisk(const DiskEntry& disk, const DiskScan& diskScan) {
  const bool noDump = disk.status == DumpStatus::kNoDump;
  const bool found = diskScan.state == DiskState::kGood || diskScan.state == DiskState::kWrong;
  if (!found) {
    if (noDump) return {Verdict::kBestAvailable, "NOT FOUND - NO GOOD DUMP KNOWN", false};
    if (disk.optional) return {Verdict::kBestAvailable, "NOT FOUND BUT OPTIONAL", false};
    return {Verdict::kBad, "NOT FOUND", false};
  }
  if (noDump) return {Verdict::kBestAvailable, "NO GOOD DUMP KNOWN", true};
  if (diskScan.state == DiskState::kWrong) return {Verdict::kBad, "INCORRECT CHECKSUM", true};
  if (disk.status == DumpStatus::kBadDump) return {Verdict::kBestAvailable, "NEEDS REDUMP", true};
  return {Verdict::kGood, "", true};
}

// What the audit has counted so far towards MAME's "not found" rule.
struct Tally {
  int required = 0, sharedRequired = 0, found = 0, sharedFound = 0, parentFound = 0;

  void Count(bool needed, bool shared, bool isFound, bool isParentsFound) {
    if (needed) {
      ++required;
      if (shared) ++sharedRequired;
    }
    // A wrong file is still a sign of the set (MAME makes an exception for
    // a wrong file that is some ROM of the parent or BIOS set).
    if (isFound) {
      ++found;
      if (shared) ++sharedFound;
      if (isParentsFound) ++parentFound;
    }
  }
  // Nothing found but what other sets hold too, while the set needs
  // something of its own, or all it needs is shared and none of the
  // nearest parent's ROMs is there.
  bool IsNotFound() const {
    return found == sharedFound && required > 0 && (required != sharedRequired || parentFound == 0);
  }
};

// What MAME makes of a ROM of a set it cannot see.
const RomScan kNotThere{};

// The contents MAME finds whole in the game's own set, seen by MAME: those
// of its ROMs found right, and of every member of its zip (see
// SetScan::zipContents). MAME finds a ROM by them under any name or folder.
std::unordered_set<uint64_t> ContentsFoundRight(const GameSet& game, const SetScan& scan) {
  std::unordered_set<uint64_t> contents;
  if (scan.roms.size() != game.roms.size()) return contents;
  for (size_t i = 0; i < game.roms.size(); ++i) {
    const RomScan& found = scan.roms[i];
    if (IsSeenByMame(found) && found.lengthCorrect && found.checksumCorrect && !HasNoDump(game.roms[i]))
      contents.insert(ContentKey(game.roms[i].size, game.roms[i].crc));
  }
  contents.insert(scan.zipContents.begin(), scan.zipContents.end());
  return contents;
}

// The worse of two verdicts among good, best available and bad.
Verdict Worse(Verdict a, Verdict b) { return static_cast<int>(a) > static_cast<int>(b) ? a : b; }

std::string Padded(const std::string& name, size_t width) {
  return name.size() < width ? name + std::string(width - name.size(), ' ') : name;
}

// MAME's words for a verdict.
const char* VerdictWords(Verdict verdict) {
  switch (verdict) {
    case Verdict::kGood: return "good";
    case Verdict::kBestAvailable: return "best available";
    case Verdict::kBad: return "bad";
    case Verdict::kNotFound: return "not found";
    case Verdict::kNoneNeeded: break;
  }
  return "";
}

}  // namespace

ParentScan FindParentScan(const GameList& database, const ScanResults& scanResults, const GameSet& game) {
  const int parent = game.parentIndex;
  if (!game.hasParent || parent < 0) return {};
  const size_t at = static_cast<size_t>(parent);
  if (at >= database.size() || at >= scanResults.size()) return {};
  return {&database[at], &scanResults[at]};
}

SetVerdict JudgeRomSet(const GameSet& game, const SetScan& scan, ParentScan parent) {
  SetVerdict result;
  if (game.roms.empty() && game.disks.empty()) return result;
  if (scan.roms.size() != game.roms.size() || scan.disks.size() != game.disks.size()) return result;
  result.verdict = Verdict::kGood;
  Tally tally;
  const std::unordered_set<std::string_view> wrongNamedRoms = RightNamesOfWrongNamed(scan);
  const std::unordered_set<uint64_t> contentsThere = ContentsFoundRight(game, scan);
  // What the parent's set holds, taken once and only when a ROM is looked
  // for there: what a set lacks, MAME looks for in the parent's set in every
  // layout, by contents under any name.
  std::optional<std::unordered_set<uint64_t>> parentContents;
  auto isInParent = [&](const RomEntry& rom) {
    if (!parentContents) {
      parentContents.emplace(scan.parentZipContents.begin(), scan.parentZipContents.end());
      if (parent.game != nullptr && parent.scan != nullptr) parentContents->merge(ContentsFoundRight(*parent.game, *parent.scan));
    }
    return parentContents->count(ContentKey(rom.size, rom.crc)) > 0;
  };
  // MAME takes a wrong file that is one of the parent's ROMs for no sign
  // of the set (an empty clone beside its parent is not found).
  std::optional<std::unordered_set<uint64_t>> parentRoms;
  auto isParentsRom = [&](const RomScan& found) {
    if (!found.found || IsFoundWhole(found) || parent.game == nullptr) return false;
    if (!parentRoms) {
      parentRoms.emplace();
      for (const RomEntry& rom : parent.game->roms) parentRoms->insert(ContentKey(rom.size, rom.crc));
    }
    return parentRoms->count(ContentKey(found.foundSize, found.foundCrc)) > 0;
  };
  const NearestParent nearest = NearestParentOf(game, parent);
  for (size_t i = 0; i < game.roms.size(); ++i) {
    const RomEntry& rom = game.roms[i];
    // A device set is judged by its own ROMs: those of the devices it uses
    // have sets of their own.
    if (game.isDevice && rom.deviceSet >= 0) continue;
    // MAME takes a file of the ROM's contents under any name in the set
    // before a file of its name with other contents, and goes on to the
    // parent's set only when the set has neither.
    const bool dumped = !HasNoDump(rom);
    const RomScan* own = &scan.roms[i];
    // (Asked to, Kestrel checks the SHA-1 of a file MAME takes by its CRC-32.)
    if (dumped && !own->sha1Wrong && contentsThere.count(ContentKey(rom.size, rom.crc)) > 0) {
      own = &kFoundRight;
    } else if (own->found && (!IsSeenByMame(*own) || IsWrongUnderOtherName(rom, *own))) {
      own = &kNotThere;
    }
    // A wrong file of the name in the set itself comes before the parent's.
    const bool takenByName = own->found && !own->foundElsewhere;
    if (!IsFoundWhole(*own) && !takenByName && dumped && isInParent(rom)) own = &kFoundRight;
    RomAudit audit = AuditRom(rom, *own, wrongNamedRoms);
    const bool counted = audit.found && !isParentsRom(*own);
    tally.Count(!HasNoDump(rom) && !rom.optional, IsShared(game, rom), counted,
                counted && IsFoundWhole(*own) && IsNearestParentsRom(game, rom, nearest));
    result.verdict = Worse(result.verdict, audit.verdict);
    if (audit.verdict != Verdict::kGood) result.notes.push_back({rom.name, rom.size, audit.reason});
  }
  for (size_t i = 0; i < game.disks.size(); ++i) {
    const DiskEntry& disk = game.disks[i];
    RomAudit audit = AuditDisk(disk, scan.disks[i]);
    const bool whole = audit.found && audit.verdict != Verdict::kBad;
    tally.Count(disk.status != DumpStatus::kNoDump && !disk.optional, !disk.merge.empty(), audit.found,
                whole && !disk.merge.empty());
    result.verdict = Worse(result.verdict, audit.verdict);
    if (audit.verdict != Verdict::kGood) result.notes.push_back({disk.name, -1, audit.reason});
  }
  if (tally.IsNotFound()) {
    result.verdict = Verdict::kNotFound;
    result.notes.clear();
  }
  return result;
}

SetVerdict JudgeRomlessMachine(const RomlessMachine& machine, const GameList& database,
                               const ScanResults& scanResults, const std::vector<uint64_t>& machineZips) {
  // The machine as a set of its devices' ROMs, each with the scan record of
  // the device's set.
  GameSet asSet;
  asSet.name = machine.name;
  SetScan scan;
  for (const std::string& name : machine.deviceRefs) {
    const std::optional<int> found = FindGame(database, name);
    if (!found || static_cast<size_t>(*found) >= scanResults.size()) continue;
    const GameSet& device = database[static_cast<size_t>(*found)];
    const SetScan& deviceScan = scanResults[static_cast<size_t>(*found)];
    if (!device.isDevice || deviceScan.roms.size() != device.roms.size()) continue;
    for (size_t i = 0; i < device.roms.size(); ++i) {
      // A device's device ROMs reach the machine through its own reference.
      if (device.roms[i].deviceSet >= 0) continue;
      asSet.roms.push_back(device.roms[i]);
      asSet.roms.back().deviceSet = *found;
      scan.roms.push_back(deviceScan.roms[i]);
    }
    scan.wrongNames.insert(scan.wrongNames.end(), deviceScan.wrongNames.begin(), deviceScan.wrongNames.end());
  }
  if (asSet.roms.empty()) return {Verdict::kBestAvailable, {}};
  // Searched after the devices' own sets, as a parent's set is.
  scan.parentZipContents = machineZips;
  // A parent with ROMs makes the devices' ROMs no sign of the machine.
  ParentScan parent;
  const std::optional<int> parentIndex = machine.cloneOf.empty() ? std::nullopt : FindGame(database, machine.cloneOf);
  if (parentIndex && static_cast<size_t>(*parentIndex) < scanResults.size()) {
    asSet.hasParent = true;
    asSet.cloneOf = machine.cloneOf;
    parent = {&database[static_cast<size_t>(*parentIndex)], &scanResults[static_cast<size_t>(*parentIndex)]};
  }
  return JudgeRomSet(asSet, scan, parent);
}

SetVerdict JudgeSampleSet(const GameSet& game, const SetScan& scan) {
  SetVerdict result;
  if (game.samples.empty() || scan.samples.size() != game.samples.size()) return result;
  size_t found = 0;
  for (size_t i = 0; i < game.samples.size(); ++i) {
    // A sample set under another spelling only is none to MAME.
    if (scan.samples[i].found && scan.samples[i].inListedSet) {
      ++found;
    } else {
      result.notes.push_back({game.samples[i].name, -1, "NOT FOUND"});
    }
  }
  if (found == 0) {
    result.verdict = Verdict::kNotFound;
    result.notes.clear();
  } else {
    result.verdict = found == game.samples.size() ? Verdict::kGood : Verdict::kBad;
  }
  return result;
}

void CountVerdict(Verdict verdict, VerdictCounts& counts) {
  switch (verdict) {
    case Verdict::kGood: ++counts.good; break;
    case Verdict::kBestAvailable: ++counts.bestAvailable; break;
    case Verdict::kBad: ++counts.bad; break;
    case Verdict::kNotFound: ++counts.notFound; break;
    case Verdict::kNoneNeeded: break;
  }
}

std::string AuditLine(const std::string& kind, const GameSet& game, Verdict verdict, const std::string& prefix) {
  if (verdict == Verdict::kNoneNeeded) return {};
  std::string line = kind + " " + prefix + game.name;
  if (game.hasParent) line += " [" + game.cloneOf + "]";
  return line + (verdict == Verdict::kNotFound ? " " : " is ") + VerdictWords(verdict);
}

std::string VerdictResultLine(const std::string& kind, const SetVerdict& verdict) {
  if (verdict.verdict == Verdict::kNoneNeeded) return {};
  std::string line = kind + ": " + VerdictWords(verdict.verdict);
  for (size_t i = 0; i < verdict.notes.size(); ++i)
    line += (i == 0 ? " (" : ", ") + verdict.notes[i].name + " " + verdict.notes[i].reason;
  return verdict.notes.empty() ? line : line + ")";
}

std::string AuditNoteLines(const GameSet& game, const SetVerdict& verdict, const std::string& prefix) {
  std::string lines;
  for (const AuditNote& note : verdict.notes) {
    lines += Padded(prefix + game.name, 12) + ": " + note.name;
    if (note.size >= 0) lines += " (" + std::to_string(note.size) + " bytes)";
    lines += " - " + note.reason + "\n";
  }
  return lines;
}

}  // namespace kestrel
