#include "report/game_results.h"

#include <cinttypes>
#include <cstdio>

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

bool SetFound(const GameSet& game) { return game.scanStatus[kSetFound] != 0; }

void AddFinding(ResultsModel& results, const std::string& text, ResultKind kind) {
  AddResultLine(results, text, kChildLevel, kind, true, false);
}

// A finding the user may have had fixed. Only a fix done while its fix
// option was on counts as fixed. `head` brings its own gap before "[wrong: ".
void AddFixableFinding(ResultsModel& results, const std::string& head, const std::string& wrong,
                       const std::string& right, bool fixOption, bool wasFixed, ResultKind kind,
                       int32_t& count, int32_t& fixedCount) {
  const bool fixed = fixOption && wasFixed;
  AddFinding(results,
             head + "[wrong: " + wrong + "] [right: " + right + "]" + FixMark(fixOption, fixed),
             kind);
  ++count;
  if (fixed) ++fixedCount;
}

// Whether anything about the game is worth a line under the current
// switches; `missingHeader` tells whether the header gets the icon of a set
// that was not found.
bool HasFindings(const GameSet& game, const SettingsRecord& s, bool& missingHeader) {
  bool ok = true;
  missingHeader = false;
  if (s.checkUnneeded) ok = game.scanRecordsA.empty();
  if (s.scanGames) {
    if (!SetFound(game)) {
      ok = ok && !s.checkMissing;
      missingHeader = !ok;
    } else if (s.checkCase) {
      ok = ok && game.scanStatus[kSetCaseCorrect] != 0;
    }
  }
  if (s.scanRoms) {
    if (s.checkName) ok = ok && game.scanRecordsB.empty();
    for (const RomEntry& rom : game.roms) {
      const RomScan& scan = rom.romScan;
      if (rom.noDump && s.showAllZeroCrcs) ok = false;
      if (!scan.found) {
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
  if (s.scanSamples) {
    for (const SampleEntry& sample : game.samples) {
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

void AddGameSetLines(const GameSet& game, const SettingsRecord& s, ResultsModel& results,
                     ScanStatistics& stats) {
  if (!SetFound(game)) {
    if (!s.checkMissing) return;
    AddFinding(results, "missing game: " + game.description, kResultMissingGame);
    ++(game.hasNeoGeoBios ? stats.missingNeoGeoGames : stats.missingArcadeGames);
    return;
  }
  if (game.scanStatus[kSetCaseCorrect] || !s.checkCase) return;
  AddFixableFinding(results, "wrong spelling: " + game.name + " ", game.scanText2, game.name,
                    s.fixCase, game.scanStatus[kSetCaseFixed], kResultGameCase,
                    stats.wrongSpelledGames, stats.wrongSpelledGamesFixed);
}

void AddRomLines(const GameSet& game, const RomEntry& rom, const SettingsRecord& s,
                 ResultsModel& results, ScanStatistics& stats) {
  const RomScan& scan = rom.romScan;
  if (!scan.found) {
    if (!s.checkMissing) return;
    AddFinding(results,
               "missing rom: " + rom.name + " [length: " + Decimal(rom.size) + "] [chksum: " +
                   Hex(rom.crc) + " (" + Hex(rom.crcComplement) + ")]" +
                   FixMark(scan.standInRefused != 0, false),
               kResultMissingRom);
    ++(game.hasNeoGeoBios ? stats.missingNeoGeoRoms : stats.missingArcadeRoms);
    return;
  }
  if (!scan.lengthCorrect && s.checkLength) {
    AddFixableFinding(results, "wrong length: " + rom.name + " ", Decimal(scan.foundSize),
                      Decimal(rom.size), s.fixLength, scan.lengthFixed, kResultWrongLength,
                      stats.wrongSizedRoms, stats.wrongSizedRomsFixed);
  }
  if (!scan.caseCorrect && s.checkCase) {
    AddFixableFinding(results, "wrong spelling: " + rom.name + " ", scan.foundName, rom.name,
                      s.fixCase, scan.caseFixed, kResultRomCase, stats.wrongSpelledRoms,
                      stats.wrongSpelledRomsFixed);
  }
  if (rom.noDump && s.showAllZeroCrcs) AddFinding(results, "bad dump: " + rom.name, kResultBadDump);
  if (!rom.noDump && !scan.checksumCorrect && s.checkChecksum) {
    AddFinding(results,
               "wrong checksum: " + rom.name + " [wrong: " + Hex(scan.foundCrc) + "] [right: " +
                   Hex(rom.crc) + " (" + Hex(rom.crcComplement) + ")]",
               kResultWrongChecksum);
    ++stats.wrongChecksums;
  }
}

void AddRomSetLines(const GameSet& game, const SettingsRecord& s, ResultsModel& results,
                    ScanStatistics& stats) {
  if (s.checkName) {
    for (const WrongNameEntry& entry : game.scanRecordsB) {
      AddFixableFinding(results, "wrong name: " + entry.fullPath + " ", entry.foundName,
                        entry.rightName, s.fixName, entry.fixed, kResultRomName,
                        stats.wrongNamedRoms, stats.wrongNamedRomsFixed);
    }
  }
  for (const RomEntry& rom : game.roms) AddRomLines(game, rom, s, results, stats);
}

void AddSampleLines(const GameSet& game, const SettingsRecord& s, ResultsModel& results,
                    ScanStatistics& stats) {
  for (const SampleEntry& sample : game.samples) {
    if (!sample.found) {
      if (!s.checkMissing) continue;
      AddFinding(results, "missing sample: " + sample.name, kResultMissingSample);
      ++stats.missingSamples;
    } else if (!sample.caseCorrect && s.checkCase) {
      // No space before "[wrong: " here: logfiles have always read this way.
      AddFixableFinding(results, "wrong spelling: " + sample.name, sample.foundName, sample.name,
                        s.fixCase, sample.caseFixed, kResultSampleCase, stats.wrongSpelledSamples,
                        stats.wrongSpelledSamplesFixed);
    }
  }
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

bool BuildGameResults(const GameSet& game, const SettingsRecord& settings, ResultsModel& results,
                      ScanStatistics& statistics) {
  bool missingHeader = false;
  if (!HasFindings(game, settings, missingHeader)) return false;

  AddResultLine(results, HeaderText(game), kTopLevel,
                missingHeader ? kResultMissingSetHeader : kResultGameHeader, true, false);
  if (settings.scanGames) AddGameSetLines(game, settings, results, statistics);
  if (settings.scanRoms) AddRomSetLines(game, settings, results, statistics);
  if (settings.scanSamples) AddSampleLines(game, settings, results, statistics);
  if (settings.checkUnneeded) {
    for (const FoundEntry& entry : game.scanRecordsA) {
      AddFinding(results, UnneededText(entry, settings), kResultUnneeded);
      CountUnneeded(entry, settings, statistics);
    }
  }
  return true;
}

void AddUnneededEntryLine(const FoundEntry& entry, const SettingsRecord& settings,
                          ResultsModel& results, ScanStatistics& statistics) {
  AddResultLine(results, UnneededText(entry, settings), kTopLevel, kResultUnneeded, true, true);
  CountUnneeded(entry, settings, statistics);
}

}  // namespace kestrel
