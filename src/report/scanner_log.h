// The scanner logfile: the lines the results tree shows, one blank line
// between games, optionally followed by the statistics.
#pragma once

#include <string>

#include "report/results_model.h"

namespace kestrel {

class UserInterface;

// The logfile's contents: each top-level item and its children, one line
// each, a blank line between groups; with `addStatistics`, "\n----------\n"
// and the statistics text. Empty for an empty tree.
std::string RenderScannerLog(const ResultsModel& results, bool addStatistics,
                             const std::string& statisticsText);

// Writes the log to `path`, replacing the file through a temporary name.
// False when it cannot be written.
bool WriteScannerLog(const std::string& path, const ResultsModel& results, bool addStatistics,
                     const std::string& statisticsText);

// The "Save Logfile" button: does nothing for an empty tree, else writes the
// file and tells the user whether that worked. False only on a failure.
bool SaveScannerLog(const std::string& path, const ResultsModel& results, bool addStatistics,
                    const std::string& statisticsText, UserInterface* owner);

}  // namespace kestrel
