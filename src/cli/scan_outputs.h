// The files "kestrel-cli scan" writes besides its output: --fixdat, the
// datfile of what the collection lacks, and --report, the findings as CSV
// or JSON.
#pragma once

#include <string>

#include "gamedb/game_set.h"
#include "report/results_model.h"
#include "report/scan_results.h"
#include "settings/settings_record.h"

namespace CLI {
class App;
}

namespace kestrel {

struct ScanOutputFiles {
  std::string fixdat;  // empty: none asked for
  std::string report;  // ".csv" or ".json"; empty: none asked for
};

void AddScanOutputOptions(CLI::App& command, ScanOutputFiles& files);

// Checked before the scan starts, so that a long scan never ends in a file
// it cannot write: false (the reason on standard error) for a report name
// of another format, a path that is a folder or a read-only file, or a
// folder that does not exist.
bool CheckScanOutputFiles(const ScanOutputFiles& files);

// Writes the files asked for, each replaced whole, and names each on
// standard error. False when one could not be written (said there too).
bool WriteScanOutputFiles(const ScanOutputFiles& files, const GameList& database, const ScanResults& scanResults,
                          const SettingsRecord& settings, const ResultsModel& results,
                          const std::string& statisticsText);

}  // namespace kestrel
