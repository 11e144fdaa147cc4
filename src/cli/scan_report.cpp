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

// Whether a zip, 7z or folder of the set's name lies in some ROM path. A scan
// record says only whether the set is where the layout wants it, which for
// a set the layout leaves empty is nowhere.
bool IsSetOnDisk(FileSystem& fs, const SettingsRecord& settings, const std::string& name) {
  for (const PathEntry& path : settings.romPaths) {
    if (!path.enabled || path.path.empty()) continue;
    const std::string set = JoinPath(path.path, name);
    if (fs.FindPath(set + ".zip") || fs.FindPath(set + ".7z") || fs.FindPath(set)) return true;
  }
  return false;
}

// MAME's lines on one set; nothing for a set MAME would not name.
std::string VerdictText(const std::string& kind, const GameSet& game, const SetVerdict& verdict,
                        const SettingsRecord* romPaths, const std::string& prefix, FileSystem& fs) {
  if (verdict.verdict == Verdict::kNoneNeeded) return {};
  // MAME names no software item it did not find, whatever lies there.
  const bool named = romPaths != nullptr && prefix.empty() && IsSetOnDisk(fs, *romPaths, game.name);
  if (verdict.verdict == Verdict::kNotFound && !named) return {};
  return AuditNoteLines(game, verdict, prefix) + AuditLine(kind, game, verdict.verdict, prefix) + "\n";
}

}  // namespace

void PrintVerdicts(const GameList& database, const ScanResults& scanResults, const SettingsRecord& settings,
                   const std::string& listName, std::FILE* out, FileSystem& fs) {
  std::string text = "----------\n";
  const std::string prefix = listName.empty() ? listName : listName + ":";
  const size_t count = std::min(database.size(), scanResults.size());
  for (size_t i = 0; settings.scanRoms && i < count; ++i) {
    if (!database[i].selected) continue;
    const GameSet& game = database[i];
    const SetVerdict verdict = JudgeRomSet(game, scanResults[i], FindParentScan(database, scanResults, game, settings.scanMergeMode));
    text += VerdictText("romset", game, verdict, &settings, prefix, fs);
  }
  for (size_t i = 0; settings.scanSamples && i < count; ++i) {
    if (!database[i].selected) continue;
    text += VerdictText("sampleset", database[i], JudgeSampleSet(database[i], scanResults[i]), nullptr, prefix, fs);
  }
  std::fputs(text.c_str(), out);
}

bool HasResultLines(const ResultsModel& results) { return !results.items.empty(); }

}  // namespace kestrel
