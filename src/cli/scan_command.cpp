#include "cli/scan_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "cli/dry_run.h"
#include "cli/exit_status.h"
#include "cli/flag_pair.h"
#include "cli/scan_report.h"
#include "cli/torrentzip_check.h"
#include "cli/why_command.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "report/results_model.h"
#include "report/scanner_log.h"
#include "scanner/scan_driver.h"
#include "report/scan_results.h"
#include "settings/settings_record.h"
#include "settings/tool_folders.h"
#include "settings/validate_profile.h"

namespace kestrel {
namespace {

const ChoiceNames kScanGameTypeNames = {"arcade", "neogeo", "both"};
// What a ROM's contents are checked by: the CRC-32 alone, or also the SHA-1.
const ChoiceNames kHashNames = {"crc", "sha1"};


bool ApplyChoices(const ScanOptions& options, SettingsRecord& settings) {
  ApplyChoice(options.setType, kSetTypeNames, settings.scanMergeMode, kToolLayoutCodes);
  ApplyChoice(options.gameTypes, kScanGameTypeNames, settings.scanGameTypes);
  if (!options.hash.empty()) settings.checkSha1 = options.hash == "sha1";
  if (!options.logfile.empty()) settings.scannerLogfile = AbsolutePath(options.logfile);
  if (!options.fastscanFile.empty()) settings.fastscanFile = AbsolutePath(options.fastscanFile);
  return true;
}

void ApplySwitches(const ScanOptions& options, SettingsRecord& settings) {
  for (size_t i = 0; i < kScanSwitchCount; ++i) {
    const ScanSwitch& entry = ScanSwitches()[i];
    if (entry.role != SwitchRole::kFix) ApplySwitch(options.switches[i], settings.*entry.field);
  }
  ApplyChoices(options, settings);
}

// What the command line said of the switch `field`.
std::optional<bool> GivenFor(const ScanOptions& options, bool SettingsRecord::*field) {
  return options.switches[ScanSwitchIndex(field)];
}

// A fix works only with its check, as in the scanner dialog: a fix asked
// for here switches its check on unless the check was switched off here,
// and a check that is off switches its fix off.
void ApplyFix(const std::optional<bool>& fix, const std::optional<bool>& check, bool& fixField,
              bool& checkField) {
  ApplySwitch(fix, fixField);
  if (fix.value_or(false) && !check.has_value()) checkField = true;
  if (!checkField) fixField = false;
}

void ApplyFixSwitches(const ScanOptions& options, SettingsRecord& settings) {
  const bool advanced = GivenFor(options, &SettingsRecord::fixMissingAdvanced).value_or(false);
  for (size_t i = 0; i < kScanSwitchCount; ++i) {
    const ScanSwitch& entry = ScanSwitches()[i];
    if (entry.role != SwitchRole::kFix) continue;
    std::optional<bool> fix = options.switches[i];
    if (entry.field == &SettingsRecord::fixMissing && advanced) fix = true;
    ApplyFix(fix, GivenFor(options, entry.check), settings.*entry.field, settings.*entry.check);
  }
}

// What the desktop program checks before it opens the scanner: missing
// paths are disabled (with a message), and the working folders must exist.
// The backup folder is made when missing, as the program does at start.
bool CheckScanPreconditions(SettingsRecord& settings, UserInterface& ui) {
  if (!PrepareBackupFolder(settings, ui)) return false;
  ValidateProfile(settings, &ui);
  FolderCheck check = CheckScannerFolders(settings);
  if (check.ok()) return true;
  ShowMessage(&ui, WorkingFolderText(check.fault) + "\n\nGo To The Settings Dialog !", "Path Error",
              {MessageButtons::kOk, MessageIcon::kStop});
  return false;
}

}  // namespace

void AddScanOptions(CLI::App& command, ScanOptions& options) {
  AddDataOptions(command, options.data);
  command.add_option("--set-type", options.setType, "Set layout (default split)")
      ->check(CLI::IsMember(kSetTypeNames));
  command.add_option("--game-types", options.gameTypes, "Games to scan (default both)")
      ->check(CLI::IsMember(kScanGameTypeNames));
  for (size_t i = 0; i < kScanSwitchCount; ++i)
    AddSwitch(command, ScanSwitches()[i].name, options.switches[i], ScanSwitches()[i].help);
  command.add_option("--hash", options.hash, "Check ROM contents by crc, or also by sha1 where listed (default crc)")
      ->check(CLI::IsMember(kHashNames));
  command.add_option("--log", options.logfile, "Write the scanner logfile");
  command.add_option("--fastscan-file", options.fastscanFile, "The fastscan file (default fastscan.fsc)");
  AddDryRunFlag(command, options.dryRun);
}

void AddVerdictsOption(CLI::App& command, ScanOptions& options) {
  command.add_flag("--verdicts", options.verdicts,
                   "Also print MAME's verdict on each set, as \"mame -verifyroms\" and \"-verifysamples\" word it");
  command.add_flag("--check-torrentzip", options.checkTorrentZip,
                   "Also name every zipped set that is not in TorrentZip's canonical form");
  command.add_flag("--explain", options.explain,
                   "Also print, for each ROM found missing or wrong, the files seen that resemble it and why each "
                   "was not taken");
}

void ApplyScanOptions(const ScanOptions& options, SettingsRecord& settings) {
  ApplySwitches(options, settings);
  ApplyFixSwitches(options, settings);
}

int RunScanCommand(const ScanOptions& options, bool fastscan, UserInterface& ui) {
  std::string dataFolder = ChooseDataFolder(options.data);
  SettingsRecord settings;
  if (!BuildSettings(options.data, settings)) return kExitRefused;
  ApplyScanOptions(options, settings);
  // A fastscan file named by no option lives with the data caches, not in
  // whatever folder the command was started from.
  if (options.fastscanFile.empty() && !settings.fastscanFile.empty() && settings.fastscanFile[0] != '/')
    settings.fastscanFile = dataFolder + settings.fastscanFile;
  GameList database;
  LoadedData loaded;
  if (!CheckScanOutputFiles(options.outputs)) return kExitRefused;
  if (!LoadGameData(options.data, settings, dataFolder, ui, database, loaded)) return kExitRefused;
  if (!CheckScanPreconditions(settings, ui)) return kExitRefused;

  ZipLibrary zipLibrary;
  zipLibrary.level = ZipLevelCharacter(settings.zipLevel);
  ScanRequest request;
  request.fastscan = fastscan;
  request.dataCrc = loaded.dataCrc;
  request.dataFolder = dataFolder;
  request.zipLibrary = &zipLibrary;
  request.romless = &loaded.romless;
  request.showStatistics = false;
  RunFiles files(options.dryRun, SharedDataFolder(options.data), fastscan ? "fastscan" : "scan", options.noUndo);
  request.fs = files.fs();
  request.saveFastscan = !files.dryRun();
  ScanResults scanResults;
  ResultsModel results;
  ScanOutcome outcome = RunScan(database, scanResults, settings, &ui, results, request);
  if (outcome.refused) return kExitRefused;

  PrintScanReport(results, outcome.statisticsText, stdout);
  if (options.verdicts) PrintVerdicts(database, scanResults, loaded.romless, settings, options.data.listFolder, files.fs(), stdout);
  int nonTorrentZips = 0;
  if (options.checkTorrentZip) {
    std::fputs("----------\n", stdout);
    nonTorrentZips = PrintNonTorrentZips(database, settings, stdout, files.fs());
  }
  if (options.explain) PrintScanExplanations(database, scanResults, settings);
  files.PrintChanges(stdout);
  // A dry run writes none of the run's own files either.
  bool logSaved = options.logfile.empty() || files.dryRun() ||
                  SaveScannerLog(settings.scannerLogfile, results, settings.addStatistics, outcome.statisticsText, &ui);
  // A stopped scan judged only some sets: a fixdat or report of it would
  // pass the rest for missing.
  const bool outputsWritten = !outcome.ranToEnd || files.dryRun() ||
                              WriteScanOutputFiles(options.outputs, database, scanResults, settings, results,
                                                   outcome.statisticsText);
  if (!outcome.ranToEnd) {
    std::fputs("Scan stopped before its end: the findings so far are shown; no fastscan file was written\n", stderr);
    if (!options.outputs.fixdat.empty() || !options.outputs.report.empty())
      std::fputs("Nor was the fixdat or the report: they would pass the sets not reached for missing\n", stderr);
    return kExitFindings;
  }
  if (!logSaved || !outputsWritten || nonTorrentZips > 0) return kExitFindings;
  return HasResultLines(results) ? kExitFindings : kExitDone;
}

}  // namespace kestrel
