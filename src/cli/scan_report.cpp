#include "cli/scan_report.h"

#include <algorithm>

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

}  // namespace

void PrintVerdicts(const GameList& database, const ScanResults& scanResults, const RomlessMachines& romless,
                   const SettingsRecord& settings, const std::string& listName, std::FILE* out) {
  std::string text = "----------\n";
  const std::string prefix = listName.empty() ? listName : listName + ":";
  const size_t count = std::min(database.size(), scanResults.size());
  for (size_t i = 0; settings.scanRoms && i < count; ++i) {
    if (!database[i].selected) continue;
    const GameSet& game = database[i];
    const SetVerdict verdict = JudgeRomSet(game, scanResults[i], FindParentScan(database, scanResults, game));
    text += VerdictText("romset", game, verdict, prefix);
  }
  for (size_t i = 0; settings.scanRoms && i < romless.size(); ++i)
    text += VerdictText("romset", NamedAs(romless[i]), JudgeRomlessMachine(romless[i], database, scanResults), prefix);
  for (size_t i = 0; settings.scanSamples && i < count; ++i) {
    if (!database[i].selected) continue;
    text += VerdictText("sampleset", database[i], JudgeSampleSet(database[i], scanResults[i]), prefix);
  }
  std::fputs(text.c_str(), out);
}

bool HasResultLines(const ResultsModel& results) { return !results.items.empty(); }

}  // namespace kestrel
