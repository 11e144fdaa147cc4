#include "cli/scan_report.h"

#include <algorithm>

#include "report/romless_set_zips.h"
#include "report/scanner_log.h"
#include "report/set_verdict.h"

namespace kestrel {

void PrintScanReport(const ResultsModel& results, const std::string& statisticsText, std::FILE* out) {
  std::string report = HasResultLines(results) ? RenderScannerLog(results, true, statisticsText)
                                               : "----------\n" + statisticsText;
  if (!report.empty() && report.back() != '\n') report += '\n';
  std::fputs(report.c_str(), out);
}

namespace {

// MAME's lines on one set; nothing for a set MAME would not name: one that
// needs nothing, or of which nothing was found (an audit of all sets names
// no set it did not find, whatever lies under its name).
std::string VerdictText(const std::string& kind, const GameSet& game, const SetVerdict& verdict,
                        const std::string& prefix) {
  if (verdict.verdict == Verdict::kNoneNeeded || verdict.verdict == Verdict::kNotFound) return {};
  return AuditNoteLines(game, verdict, prefix) + AuditLine(kind, game, verdict.verdict, prefix) + "\n";
}

// The machine as far as MAME's lines name it.
GameSet NamedAs(const RomlessMachine& machine) {
  GameSet game;
  game.name = machine.name;
  game.cloneOf = machine.cloneOf;
  game.hasParent = !machine.cloneOf.empty();
  return game;
}

// What the zip of a romless machine's parent holds, as MAME sees it: a
// listed game's zip as the scan noted it, a romless one's as read.
std::vector<uint64_t> ParentZipOf(const RomlessMachine& machine, const GameList& database,
                                  const ScanResults& scanResults, const RomlessZips& romlessZips) {
  if (machine.cloneOf.empty()) return {};
  const std::optional<int> listed = FindGame(database, machine.cloneOf);
  if (!listed) return RomlessZipOf(romlessZips, machine.cloneOf);
  const size_t at = static_cast<size_t>(*listed);
  return at < scanResults.size() ? scanResults[at].zipContents : std::vector<uint64_t>{};
}

}  // namespace

void PrintVerdicts(const GameList& database, const ScanResults& scanResults, const RomlessMachines& romless,
                   const SettingsRecord& settings, const std::string& listName, FileSystem& fs, std::FILE* out) {
  std::string text = "----------\n";
  const std::string prefix = listName.empty() ? listName : listName + ":";
  const size_t count = std::min(database.size(), scanResults.size());
  const RomlessZips romlessZips = settings.scanRoms ? ReadRomlessZips(fs, settings.romPaths, romless) : RomlessZips{};
  for (size_t i = 0; settings.scanRoms && i < count; ++i) {
    if (!database[i].selected) continue;
    const GameSet& game = database[i];
    const SetVerdict verdict = JudgeRomSet(game, scanResults[i], FindParentScan(database, scanResults, game));
    text += VerdictText("romset", game, verdict, prefix);
  }
  for (size_t i = 0; settings.scanRoms && i < romless.size(); ++i) {
    std::vector<uint64_t> machineZips = RomlessZipOf(romlessZips, romless[i].name);
    const std::vector<uint64_t> parentZip = ParentZipOf(romless[i], database, scanResults, romlessZips);
    machineZips.insert(machineZips.end(), parentZip.begin(), parentZip.end());
    const SetVerdict verdict = JudgeRomlessMachine(romless[i], database, scanResults, machineZips);
    text += VerdictText("romset", NamedAs(romless[i]), verdict, prefix);
  }
  for (size_t i = 0; settings.scanSamples && i < count; ++i) {
    if (!database[i].selected) continue;
    text += VerdictText("sampleset", database[i], JudgeSampleSet(database[i], scanResults[i]), prefix);
  }
  std::fputs(text.c_str(), out);
}

bool HasResultLines(const ResultsModel& results) { return !results.items.empty(); }

}  // namespace kestrel
