#include "cli/scan_report.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/paths.h"
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

// Whether a zip or folder of the set's name lies in some ROM path. A scan
// record says only whether the set is where the layout wants it, which for
// a set the layout leaves empty is nowhere.
bool IsSetOnDisk(const SettingsRecord& settings, const std::string& name) {
  for (const PathEntry& path : settings.romPaths) {
    if (!path.enabled || path.path.empty()) continue;
    const std::string set = JoinPath(path.path, name);
    if (FindPath(set + ".zip") || FindPath(set)) return true;
  }
  return false;
}

// MAME's lines on one set; nothing for a set MAME would not name.
std::string VerdictText(const std::string& kind, const GameSet& game, const SetVerdict& verdict,
                        const SettingsRecord* romPaths) {
  if (verdict.verdict == Verdict::kNoneNeeded) return {};
  if (verdict.verdict == Verdict::kNotFound && (romPaths == nullptr || !IsSetOnDisk(*romPaths, game.name))) return {};
  return AuditNoteLines(game, verdict) + AuditLine(kind, game, verdict.verdict) + "\n";
}

}  // namespace

void PrintVerdicts(const GameList& database, const ScanResults& scanResults, const SettingsRecord& settings,
                   std::FILE* out) {
  std::string text = "----------\n";
  const size_t count = std::min(database.size(), scanResults.size());
  for (size_t i = 0; settings.scanRoms && i < count; ++i) {
    if (!database[i].selected) continue;
    text += VerdictText("romset", database[i], JudgeRomSet(database[i], scanResults[i]), &settings);
  }
  for (size_t i = 0; settings.scanSamples && i < count; ++i) {
    if (!database[i].selected) continue;
    text += VerdictText("sampleset", database[i], JudgeSampleSet(database[i], scanResults[i]), nullptr);
  }
  std::fputs(text.c_str(), out);
}

bool HasResultLines(const ResultsModel& results) { return !results.items.empty(); }

}  // namespace kestrel
