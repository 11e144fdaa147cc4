// Turns one game's scanner findings into result lines.
#pragma once

#include <string>

#include "gamedb/game_set.h"
#include "report/results_model.h"
#include "report/set_verdict.h"
#include "report/scan_statistics.h"
#include "report/found_entries.h"
#include "report/scan_results.h"

namespace kestrel {

struct SettingsRecord;

// Adds the header and the finding lines of `game`, as its `scan` records
// them (all kept), and counts the findings and MAME's verdicts on its sets
// (ROM set with the ROM scan on, samples with the sample scan on). Returns true when the game had
// at least one finding; the scan driver stores that as the set's needsScan,
// so a fastscan looks at exactly these games again. A game without
// findings adds nothing. `parent` is where MAME's verdict looks for what the set lacks.
bool BuildGameResults(const GameSet& game, const SetScan& scan, const SettingsRecord& settings,
                      ResultsModel& results, ScanStatistics& statistics, ParentScan parent = {});

// The stand-alone line the scan driver adds for an unknown entry at the top
// of a ROM or sample path: "unneeded file: <name>" or "unneeded folder: ...",
// with the fix mark of fix unneeded. Level 0, no children, kept.
void AddUnneededEntryLine(const FoundEntry& entry, const SettingsRecord& settings,
                          ResultsModel& results, ScanStatistics& statistics);

// The stand-alone line the scan driver adds for a set found under a wrong
// name at the top of a ROM path: "wrong name: <path> [wrong: <found name>]
// [right: <right name>]", with the fix mark of fix name. Level 0, no
// children, kept.
void AddWrongNamedSetLine(const std::string& path, const std::string& foundName,
                          const std::string& rightName, bool fixed, const SettingsRecord& settings,
                          ResultsModel& results, ScanStatistics& statistics);

}  // namespace kestrel
