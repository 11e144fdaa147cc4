// "kestrel-cli why SET": for each ROM of the set that a scan finds missing,
// wrong or unreadable, the files seen that resemble it and why each was not
// taken (see report/rom_candidates.h). Nothing is changed: the set is
// scanned with every fix off and without stand-ins.
#pragma once

#include <string>

#include "cli/data_options.h"
#include "gamedb/game_set.h"
#include "report/scan_results.h"
#include "settings/settings_record.h"

namespace CLI {
class App;
}

namespace kestrel {

class UserInterface;

struct WhyOptions {
  DataOptions data;
  std::string setType;  // non-merged, split, merged, full-non-merged; empty: the profile's
  std::string set;
};

void AddWhyOptions(CLI::App& command, WhyOptions& options);

// Prints the set's verdict ROM by ROM with the candidates. Returns kExitDone
// when every ROM is there and right, kExitFindings when one is not,
// kExitRefused for an unknown set or game data that cannot be had.
int RunWhyCommand(const WhyOptions& options, UserInterface& ui);

// The verbose form of a scan ("scan --explain"): after a line of ten minus
// signs, what "why" prints for every selected set with a ROM the scan found
// missing, wrong or unreadable, in the game data's order.
void PrintScanExplanations(const GameList& database, const ScanResults& results, const SettingsRecord& settings);

}  // namespace kestrel
