#include "report/game_results.h"

#include <cinttypes>
#include <cstdio>

#include "report/set_verdict.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

std::string Decimal(int64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%" PRId64, value);
  return buffer;
}

// CRCs print in lower case without leading zeros, so 0 reads "0".
std::string Hex(uint32_t value) {
  char buffer[12];
  std::snprintf(buffer, sizeof buffer, "%" PRIx32, value);
  return buffer;
}

void AddFinding(ResultsModel& results, const std::string& text, ResultKind kind, const FindingDetail& detail) {
  AddResultLine(results, text, kChildLevel, kind, true, false, detail);
}

FindingDetail SetDetail(const GameSet& game) {
  FindingDetail detail;
  detail.set = game.name;
  detail.parent = game.cloneOf;
  return detail;
}

FindingDetail ItemDetail(const GameSet& game, const std::string& item, const char* itemType) {
  FindingDetail detail = SetDetail(game);
  detail.item = item;
  detail.itemType = itemType;
  return detail;
}

FindingDetail PathDetail(const GameSet& game, const std::string& path) {
  FindingDetail detail = SetDetail(game);
  detail.path = path;
  return detail;
}

// A ROM line carries what the list expects of the ROM.
FindingDetail RomDetail(const GameSet& game, const RomEntry& rom) {
  FindingDetail detail = ItemDetail(game, rom.name, "rom");
  detail.expectedSize = static_cast<uint32_t>(rom.size);
  detail.expectedCrc = rom.crc;
  return detail;
}

// A finding the user may have had fixed. Only a fix done while its fix
// option was on counts as fixed. `head` brings its own gap before "[wrong: ".
void AddFixableFinding(ResultsModel& results, const std::string& head, const std::string& wrong,
                       const std::string& right, bool fixOption, bool wasFixed, ResultKind kind,
                       int32_t& count, int32_t& fixedCount, const FindingDetail& detail) {
  const bool fixed = fixOption && wasFixed;
  AddFinding(results,
             head + "[wrong: " + wrong + "] [right: " + right + "]" + FixMark(fixOption, fixed),
             kind, detail);
  ++count;
  if (fixed) ++fixedCount;
}

// Whether a disk check of the game found anything the switches show.
bool HasDiskFindings(const GameSet& game, const SetScan& setScan, const SettingsRecord& s) {
  if (s.checkUnneeded && !setScan.unneededDisks.empty()) return true;
  for (size_t i = 0; i < game.disks.size() && i < setScan.disks.size(); ++i) {
    switch (setScan.disks[i].state) {
      case DiskState::kGood: break;
      case DiskState::kMissing:
        if (s.checkMissing && !MayLackDisk(game.disks[i])) return true;
        break;
      case DiskState::kWrong:
        if (s.checkChecksum) return true;
        break;
      case DiskState::kUnreadable:
      case DiskState::kUnknownVersion:
        if (s.checkMissing) return true;
        break;
    }
  }
  return false;
}

// Whether anything about the game is worth a line under the current
// switches; `missingHeader` tells whether the header gets the icon of a set
// that was not found.
bool HasFindings(const GameSet& game, const SetScan& setScan, const SettingsRecord& s,
                 bool& missingHeader) {
  bool ok = true;
  missingHeader = false;
  if (s.checkUnneeded) ok = setScan.unneeded.empty();
  if (s.scanGames) {
    if (!setScan.found) {
      ok = ok && !s.checkMissing;
      missingHeader = !ok;
    } else if (s.checkCase) {
      ok = ok && setScan.caseCorrect;
    }
  }
  if (s.scanRoms) {
    if (s.checkName) ok = ok && setScan.wrongNames.empty();
    if (s.checkMissing) ok = ok && setScan.unreadableSets.empty();
    for (size_t i = 0; i < game.roms.size(); ++i) {
      const RomEntry& rom = game.roms[i];
      const RomScan& scan = setScan.roms[i];
      if (rom.noDump && s.showAllZeroCrcs) ok = false;
      if (scan.unreadable) {
        ok = ok && !s.checkMissing;
        continue;
      }
      if (!scan.found) {
        // MAME runs without an optional ROM or one never dumped.
        if (MayLackRom(rom)) continue;
        // Nobody can own a ROM that was never dumped; it counts as missing
        // only when the user asked to see those.
        if (!rom.noDump || s.showMissingZeroCrcs) ok = ok && !s.checkMissing;
        continue;
      }
      if (s.checkLength) ok = ok && scan.lengthCorrect;
      if (s.checkCase) ok = ok && scan.caseCorrect;
      if (!rom.noDump && s.checkChecksum) ok = ok && scan.checksumCorrect;
    }
  }
  if (s.scanRoms && HasDiskFindings(game, setScan, s)) ok = false;
  if (s.scanSamples) {
    for (const SampleScan& sample : setScan.samples) {
      if (!sample.found) {
        ok = ok && !s.checkMissing;
      } else if (s.checkCase) {
        ok = ok && sample.caseCorrect;
      }
    }
  }
  return !ok;
}

std::string HeaderText(const GameSet& game) {
  std::string text = game.description + " [folder: " + game.name;
  if (game.hasParent) text += " - parent: " + game.cloneOf;
  return text + "]";
}

void AddGameSetLines(const GameSet& game, const SetScan& setScan, const SettingsRecord& s,
                     ResultsModel& results, ScanStatistics& stats) {
  if (!setScan.found) {
    if (!s.checkMissing) return;
    AddFinding(results, "missing game: " + game.description, kResultMissingGame, SetDetail(game));
    ++(game.hasNeoGeoBios ? stats.missingNeoGeoGames : stats.missingArcadeGames);
    return;
  }
  if (setScan.caseCorrect || !s.checkCase) return;
  AddFixableFinding(results, "wrong spelling: " + game.name + " ", setScan.nameOnDisk, game.name,
                    s.fixCase, setScan.caseFixed, kResultGameCase,
                    stats.wrongSpelledGames, stats.wrongSpelledGamesFixed, PathDetail(game, setScan.nameOnDisk));
}

FindingDetail WithFoundCrc(FindingDetail detail, uint32_t crc) {
  detail.foundCrc = crc;
  return detail;
}

void AddRomLines(const GameSet& game, const RomEntry& rom, const RomScan& scan,
                 const SettingsRecord& s, ResultsModel& results, ScanStatistics& stats) {
  if (scan.unreadable) {
    if (s.checkMissing) {
      AddFinding(results, "unreadable rom: " + rom.name, kResultUnreadable, RomDetail(game, rom));
      ++stats.unreadable;
    }
    return;
  }
  if (!scan.found) {
    if (!s.checkMissing || MayLackRom(rom)) return;
    AddFinding(results,
               "missing rom: " + rom.name + " [length: " + Decimal(rom.size) + "] [chksum: " +
                   Hex(rom.crc) + " (" + Hex(rom.crcComplement) + ")]" +
                   FixMark(scan.standInRefused, false),
               kResultMissingRom, RomDetail(game, rom));
    ++(game.hasNeoGeoBios ? stats.missingNeoGeoRoms : stats.missingArcadeRoms);
    return;
  }
  FindingDetail found = RomDetail(game, rom);
  if (s.checkLength) found.foundSize = scan.foundSize;
  if (!scan.lengthCorrect && s.checkLength) {
    AddFixableFinding(results, "wrong length: " + rom.name + " ", Decimal(scan.foundSize),
                      Decimal(rom.size), s.fixLength, scan.lengthFixed, kResultWrongLength,
                      stats.wrongSizedRoms, stats.wrongSizedRomsFixed, found);
  }
  if (!scan.caseCorrect && s.checkCase) {
    AddFixableFinding(results, "wrong spelling: " + rom.name + " ", scan.foundName, rom.name,
                      s.fixCase, scan.caseFixed, kResultRomCase, stats.wrongSpelledRoms,
                      stats.wrongSpelledRomsFixed, found);
  }
  if (rom.noDump && s.showAllZeroCrcs) AddFinding(results, "bad dump: " + rom.name, kResultBadDump, found);
  if (!rom.noDump && scan.sha1Wrong && s.checkChecksum) {
    AddFinding(results,
               "wrong sha1: " + rom.name + " [wrong: " + scan.foundSha1 + "] [right: " +
                   (rom.sha1 ? Sha1Text(*rom.sha1) : "") + "]",
               kResultWrongChecksum, found);
    ++stats.wrongChecksums;
  } else if (!rom.noDump && !scan.checksumCorrect && s.checkChecksum) {
    AddFinding(results,
               "wrong checksum: " + rom.name + " [wrong: " + Hex(scan.foundCrc) + "] [right: " +
                   Hex(rom.crc) + " (" + Hex(rom.crcComplement) + ")]",
               kResultWrongChecksum, WithFoundCrc(found, scan.foundCrc));
    ++stats.wrongChecksums;
  }
}

// A disk without a dump is never missing; nor one MAME runs without.
void AddDiskLines(const GameSet& game, const DiskEntry& disk, const DiskScan& scan, const SettingsRecord& s,
                  ResultsModel& results, ScanStatistics& stats) {
  const std::string listed = disk.sha1 ? Sha1Text(*disk.sha1) : "";
  FindingDetail detail = ItemDetail(game, disk.name, "disk");
  detail.path = scan.foundPath;
  switch (scan.state) {
    case DiskState::kGood: return;
    case DiskState::kMissing:
      if (!s.checkMissing || MayLackDisk(disk)) return;
      AddFinding(results, "missing disk: " + disk.name + " [sha1: " + listed + "]", kResultMissingRom, detail);
      ++stats.missingDisks;
      return;
    case DiskState::kWrong:
      if (!s.checkChecksum) return;
      AddFinding(results, "wrong disk: " + disk.name + " [wrong: " + scan.foundSha1 + "] [right: " + listed + "]",
                 kResultWrongChecksum, detail);
      ++stats.wrongDisks;
      return;
    case DiskState::kUnreadable:
      if (!s.checkMissing) return;
      AddFinding(results, "unreadable disk: " + scan.foundPath, kResultUnreadable, detail);
      ++stats.unreadableDisks;
      return;
    case DiskState::kUnknownVersion:
      if (!s.checkMissing) return;
      AddFinding(results, "unknown disk version: " + scan.foundPath + " [version: " + Decimal(scan.foundVersion) + "]",
                 kResultUnreadable, detail);
      ++stats.unreadableDisks;
      return;
  }
}

FindingDetail WithPath(FindingDetail detail, const std::string& path) {
  detail.path = path;
  return detail;
}

void AddRomSetLines(const GameSet& game, const SetScan& setScan, const SettingsRecord& s,
                    ResultsModel& results, ScanStatistics& stats) {
  if (s.checkName) {
    for (const WrongNameEntry& entry : setScan.wrongNames) {
      AddFixableFinding(results, "wrong name: " + entry.fullPath + " ", entry.foundName,
                        entry.rightName, s.fixName, entry.fixed, kResultRomName,
                        stats.wrongNamedRoms, stats.wrongNamedRomsFixed,
                        WithPath(ItemDetail(game, entry.rightName, "rom"), entry.fullPath));
    }
  }
  if (s.checkMissing) {
    for (const std::string& path : setScan.unreadableSets) {
      AddFinding(results, "unreadable set: " + path, kResultUnreadable, PathDetail(game, path));
      ++stats.unreadable;
    }
  }
  for (size_t i = 0; i < game.roms.size(); ++i) {
    AddRomLines(game, game.roms[i], setScan.roms[i], s, results, stats);
  }
  for (size_t i = 0; i < game.disks.size() && i < setScan.disks.size(); ++i) {
    AddDiskLines(game, game.disks[i], setScan.disks[i], s, results, stats);
  }
}

void AddSampleLines(const GameSet& game, const SetScan& setScan, const SettingsRecord& s,
                    ResultsModel& results, ScanStatistics& stats) {
  for (size_t i = 0; i < game.samples.size(); ++i) {
    const SampleEntry& sample = game.samples[i];
    const SampleScan& scan = setScan.samples[i];
    if (!scan.found) {
      if (!s.checkMissing) continue;
      AddFinding(results, "missing sample: " + sample.name, kResultMissingSample,
                 ItemDetail(game, sample.name, "sample"));
      ++stats.missingSamples;
    } else if (!scan.caseCorrect && s.checkCase) {
      // No space before "[wrong: " here: logfiles have always read this way.
      const std::string& right = scan.searchName.empty() ? sample.name : scan.searchName;
      AddFixableFinding(results, "wrong spelling: " + sample.name, scan.foundName, right,
                        s.fixCase, scan.caseFixed, kResultSampleCase, stats.wrongSpelledSamples,
                        stats.wrongSpelledSamplesFixed,
                        WithPath(ItemDetail(game, sample.name, "sample"), scan.foundName));
    }
  }
}

void AddVerdictLine(ResultsModel& results, const GameSet& game, const std::string& text, ResultKind kind) {
  if (!text.empty()) AddFinding(results, text, kind, SetDetail(game));
}

std::string UnneededText(const FoundEntry& entry, const SettingsRecord& s) {
  return std::string("unneeded ") + (entry.isFolder ? "folder: " : "file: ") + entry.name +
         FixMark(s.fixUnneeded, entry.fixed);
}

void CountUnneeded(const FoundEntry& entry, const SettingsRecord& s, ScanStatistics& stats) {
  ++stats.unneeded;
  if (s.fixUnneeded && entry.fixed) ++stats.unneededFixed;
}

}  // namespace

bool BuildGameResults(const GameSet& game, const SetScan& scan, const SettingsRecord& settings,
                      ResultsModel& results, ScanStatistics& statistics, ParentScan parent) {
  const SetVerdict romSet = settings.scanRoms ? JudgeRomSet(game, scan, parent) : SetVerdict{};
  const SetVerdict sampleSet = settings.scanSamples ? JudgeSampleSet(game, scan) : SetVerdict{};
  CountVerdict(romSet.verdict, statistics.romsets);
  CountVerdict(sampleSet.verdict, statistics.samplesets);
  bool missingHeader = false;
  if (!HasFindings(game, scan, settings, missingHeader)) return false;

  AddResultLine(results, HeaderText(game), kTopLevel,
                missingHeader ? kResultMissingSetHeader : kResultGameHeader, true, false, SetDetail(game));
  if (settings.scanGames) AddGameSetLines(game, scan, settings, results, statistics);
  if (settings.scanRoms) AddRomSetLines(game, scan, settings, results, statistics);
  if (settings.scanSamples) AddSampleLines(game, scan, settings, results, statistics);
  if (settings.checkUnneeded) {
    for (const FoundEntry& entry : scan.unneeded) {
      AddFinding(results, UnneededText(entry, settings), kResultUnneeded, PathDetail(game, entry.name));
      CountUnneeded(entry, settings, statistics);
    }
    // Never removed: a disk image is too large to back up in a zip.
    for (const std::string& path : scan.unneededDisks) {
      AddFinding(results, "unneeded disk: " + path, kResultUnneeded, PathDetail(game, path));
      ++statistics.unneededDisks;
    }
  }
  AddVerdictLine(results, game, VerdictResultLine("romset", romSet), kResultRomSetVerdict);
  AddVerdictLine(results, game, VerdictResultLine("sampleset", sampleSet), kResultSampleSetVerdict);
  return true;
}

void AddUnneededEntryLine(const FoundEntry& entry, const SettingsRecord& settings,
                          ResultsModel& results, ScanStatistics& statistics) {
  FindingDetail detail;
  detail.path = entry.name;
  AddResultLine(results, UnneededText(entry, settings), kTopLevel, kResultUnneeded, true, true, detail);
  CountUnneeded(entry, settings, statistics);
}

void AddWrongNamedSetLine(const std::string& path, const std::string& foundName,
                          const std::string& rightName, bool fixed, const SettingsRecord& settings,
                          ResultsModel& results, ScanStatistics& statistics) {
  AddResultLine(results,
                "wrong name: " + path + " [wrong: " + foundName + "] [right: " + rightName + "]" +
                    FixMark(settings.fixName, fixed),
                kTopLevel, kResultGameName, true, true, FindingDetail{rightName, "", "", "", {}, {}, {}, {}, path});
  ++statistics.wrongNamedGames;
  if (fixed) ++statistics.wrongNamedGamesFixed;
}

}  // namespace kestrel
