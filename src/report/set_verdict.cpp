#include "report/set_verdict.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <unordered_set>

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
  return (game.hasParent && rom.inParent) || rom.biosRom >= 0 || !rom.merge.empty() || rom.deviceSet >= 0;
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

// The worse of two verdicts among good, best available and bad.
Verdict Worse(Verdict a, Verdict b) { return static_cast<int>(a) > static_cast<int>(b) ? a : b; }

std::string Padded(const std::string& name, size_t width) {
  return name.size() < width ? name + std::string(width - name.size(), ' ') : name;
}

}  // namespace

SetVerdict JudgeRomSet(const GameSet& game, const SetScan& scan) {
  SetVerdict result;
  if (game.roms.empty() || scan.roms.size() != game.roms.size()) return result;
  result.verdict = Verdict::kGood;
  int required = 0, sharedRequired = 0, found = 0, sharedFound = 0;
  const std::unordered_set<std::string_view> wrongNamedRoms = RightNamesOfWrongNamed(scan);
  for (size_t i = 0; i < game.roms.size(); ++i) {
    const RomEntry& rom = game.roms[i];
    const bool shared = IsShared(game, rom);
    if (!HasNoDump(rom) && !rom.optional) {
      ++required;
      if (shared) ++sharedRequired;
    }
    RomAudit audit = AuditRom(rom, scan.roms[i], wrongNamedRoms);
    // A wrong file is still a sign of the set (MAME makes an exception for
    // a wrong file that is some ROM of the parent or BIOS set).
    if (audit.found) {
      ++found;
      if (shared) ++sharedFound;
    }
    result.verdict = Worse(result.verdict, audit.verdict);
    if (audit.verdict != Verdict::kGood) result.notes.push_back({rom.name, rom.size, audit.reason});
  }
  if (found == sharedFound && required > 0 && (required != sharedRequired || sharedFound == 0)) {
    result.verdict = Verdict::kNotFound;
    result.notes.clear();
  }
  return result;
}

SetVerdict JudgeSampleSet(const GameSet& game, const SetScan& scan) {
  SetVerdict result;
  if (game.samples.empty() || scan.samples.size() != game.samples.size()) return result;
  size_t found = 0;
  for (size_t i = 0; i < game.samples.size(); ++i) {
    if (scan.samples[i].found) {
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

std::string AuditLine(const std::string& kind, const GameSet& game, Verdict verdict) {
  if (verdict == Verdict::kNoneNeeded) return {};
  std::string line = kind + " " + game.name;
  if (game.hasParent) line += " [" + game.cloneOf + "]";
  switch (verdict) {
    case Verdict::kGood: return line + " is good";
    case Verdict::kBestAvailable: return line + " is best available";
    case Verdict::kBad: return line + " is bad";
    default: return line + " not found";
  }
}

std::string AuditNoteLines(const GameSet& game, const SetVerdict& verdict) {
  std::string lines;
  for (const AuditNote& note : verdict.notes) {
    lines += Padded(game.name, 12) + ": " + note.name;
    if (note.size >= 0) lines += " (" + std::to_string(note.size) + " bytes)";
    lines += " - " + note.reason + "\n";
  }
  return lines;
}

}  // namespace kestrel
