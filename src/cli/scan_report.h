// What a scan leaves on standard output, and the exit status it answers.
#pragma once

#include <cstdio>
#include <string>

#include "gamedb/game_set.h"
#include "gamedb/romless_machines.h"
#include "platform/file_system.h"
#include "report/results_model.h"
#include "report/scan_results.h"
#include "settings/settings_record.h"

namespace kestrel {

// The result lines as the logfile holds them (a blank line between games),
// then a line of ten minus signs and the statistics. With no result line
// the output starts at the minus signs: the statistics are printed after
// every scan that ran.
void PrintScanReport(const ResultsModel& results, const std::string& statisticsText, std::FILE* out);

// A line of ten minus signs, then MAME's verdict on each selected game's
// sets as "mame -verifyroms" and "-verifysamples" print them when auditing
// every set: the ROM sets first (with the ROM scan on), then the sample sets
// (with the sample scan on), each in database order, a set that is not good
// after MAME's lines on its ROMs or samples; the machines the database left
// out for want of ROMs follow the ROM sets. Like MAME's audit of all sets it
// leaves out sets that need nothing and sets of which nothing was found. The
// sets of a software list are named "LIST:NAME", as "mame -verifysoftlist"
// names them. The zips of the machines left out are read through `fs`.
void PrintVerdicts(const GameList& database, const ScanResults& scanResults, const RomlessMachines& romless,
                   const SettingsRecord& settings, const std::string& listName, FileSystem& fs, std::FILE* out);

// Whether the scan left any result line, the one measure of a finding. A
// game skipped by the game-type filter leaves none, whatever its flags say.
bool HasResultLines(const ResultsModel& results);

}  // namespace kestrel
