// The texts of the main window's status bar: which list is loaded, how many
// games are selected, and what the last scan found. Free of Qt, so they are
// tested without a window.
#pragma once

#include <string>

#include "gamedb/game_set.h"
#include "report/scan_statistics.h"
#include "settings/loaded_data.h"

namespace kestrel {

// "List: mame.xml, 40,236 games" or "No game list loaded".
std::string ListStatus(const LoadedData& loaded, const GameList& database);
// "Selected: 1,234 of 40,236 games" ("" without games).
std::string SelectionStatus(const GameList& database);
// "Last scan 16:05: 3,456 sets good, 120 bad, 36,614 not found" and the
// findings the statistics count; `time` is the scan's end, as shown.
std::string ScanStatus(const ScanStatistics& statistics, const std::string& time);
// A window's caption while it works on one software list, "Scan Results
// - Software List: a2600"; `caption` itself without a list.
std::string WithListCaption(const std::string& caption, const std::string& listName);
// 40236 as "40,236".
std::string GroupedNumber(long long value);

}  // namespace kestrel
