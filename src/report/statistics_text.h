// The statistics of a scan as text: one labelled line per count, numbers
// aligned in one column, "<n/a>" for what the scan did not check.
#pragma once

#include <string>
#include <string_view>

#include "report/scan_statistics.h"

namespace kestrel {

struct SettingsRecord;
class UserInterface;

// The text with "\r\n" line ends, as the statistics window shows it.
std::string BuildStatisticsText(const ScanStatistics& statistics, const SettingsRecord& settings);

// `text` without any '\r'.
std::string RemoveCarriageReturns(std::string_view text);

// Builds the text, shows it to the user in the window titled "Statistics"
// and returns it with "\n" line ends, as it is kept for the logfile.
std::string BuildStatistics(const ScanStatistics& statistics, const SettingsRecord& settings,
                            UserInterface* owner);

}  // namespace kestrel
