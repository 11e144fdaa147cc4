// What a scan leaves on standard output, and the exit status it answers.
#pragma once

#include <cstdio>
#include <string>

#include "gamedb/game_set.h"
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
// after MAME's lines on its ROMs or samples. Like MAME it leaves out sets
// that need nothing and sets of which nothing was found, but names a ROM set
// "not found" when something under its name is there. The sets of a
// software list are named "LIST:NAME", as "mame -verifysoftlist" names them.
// The ROM paths are looked at through `fs`: after a dry run, as the run left them.
void PrintVerdicts(const GameList& database, const ScanResults& scanResults, const SettingsRecord& settings,
                   const std::string& listName, std::FILE* out, FileSystem& fs = RealFileSystem());

// Whether the scan left any result line, the one measure of a finding. A
// game skipped by the game-type filter leaves none, whatever its flags say.
bool HasResultLines(const ResultsModel& results);

}  // namespace kestrel
