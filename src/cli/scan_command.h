// "kestrel-cli scan" and "kestrel-cli fastscan".
#pragma once

#include <array>
#include <optional>
#include <string>

#include "cli/data_options.h"
#include "cli/scan_outputs.h"
#include "settings/scan_switches.h"
#include "settings/settings_record.h"

namespace CLI {
class App;
}

namespace kestrel {

class UserInterface;

// The scanner switches as given on the command line; unset ones keep the
// profile's (or the default) value.
struct ScanOptions {
  DataOptions data;
  // One per entry of ScanSwitches(), in its order. A fix given here
  // switches its check on.
  std::array<std::optional<bool>, kScanSwitchCount> switches;
  std::string setType;    // non-merged, split, merged
  std::string gameTypes;  // arcade, neogeo, both
  std::string hash;       // crc, sha1
  std::string logfile;
  std::string fastscanFile;
  // Also print MAME's verdict on every checked set, in MAME's audit form.
  bool verdicts = false;
  // Also name every zipped set not in TorrentZip's form; each is a finding.
  bool checkTorrentZip = false;
  // Also print, for every ROM found missing or wrong, the files seen that
  // resemble it and why each was not taken ("why" for every faulty set).
  bool explain = false;
  bool noUndo = false;  // keep no undo journal of the fixes
  bool dryRun = false;  // --dry-run: change nothing, list the changes
  ScanOutputFiles outputs;  // "scan" only: a fastscan does not judge every set
};

// Registers the game data options and every scanner option. "scan",
// "fastscan" and "profile save" all take exactly these.
void AddScanOptions(CLI::App& command, ScanOptions& options);

// Registers --verdicts and --check-torrentzip, which "scan" and "fastscan" take.
void AddVerdictsOption(CLI::App& command, ScanOptions& options);

// Writes the scanner options that were given into `settings`; the others
// keep the value they have.
void ApplyScanOptions(const ScanOptions& options, SettingsRecord& settings);

// Runs the scan and prints the result lines, a line of ten minus signs and
// the statistics; with --verdicts, a line of ten minus signs and MAME's
// verdicts (see PrintVerdicts); with --check-torrentzip, a line of ten
// minus signs and the zips not in TorrentZip's form; with --log, saves the logfile as "Save Logfile" does
// (nothing for no result line) and says so on standard error. With --fixdat
// and --report, writes those files (see scan_outputs.h). Returns
// kExitDone for no result line; kExitFindings for some, for a scan stopped
// before its end, or for a logfile or output file that could not be written; kExitRefused
// when the scan was refused or could not start.
int RunScanCommand(const ScanOptions& options, bool fastscan, UserInterface& ui);

}  // namespace kestrel
