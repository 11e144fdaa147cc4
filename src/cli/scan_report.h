// What a scan leaves on standard output, and the exit status it answers.
#pragma once

#include <cstdio>
#include <string>

#include "report/results_model.h"

namespace kestrel {

// The result lines as the logfile holds them (a blank line between games),
// then a line of ten minus signs and the statistics. With no result line
// the output starts at the minus signs: the statistics are printed after
// every scan that ran.
void PrintScanReport(const ResultsModel& results, const std::string& statisticsText, std::FILE* out);

// Whether the scan left any result line, the one measure of a finding. A
// game skipped by the game-type filter leaves none, whatever its flags say.
bool HasResultLines(const ResultsModel& results);

}  // namespace kestrel
