#include "cli/scan_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "cli/exit_status.h"
#include "cli/flag_pair.h"
#include "cli/scan_report.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "report/results_model.h"
#include "report/scanner_log.h"
#include "scanner/scan_driver.h"
#include "settings/settings_record.h"
#include "settings/validate_profile.h"

namespace kestrel {
namespace {

const ChoiceNames kScanGameTypeNames = {"arcade", "neogeo", "both"};


bool ApplyChoices(const ScanOptions& options, SettingsRecord& settings) {
  ApplyChoice(options.setType, kSetTypeNames, settings.scanMergeMode, kToolLayoutCodes);
  ApplyChoice(options.gameTypes, kScanGameTypeNames, settings.scanGameTypes);
  if (!options.logfile.empty()) settings.scannerLogfile = AbsolutePath(options.logfile);
  if (!options.fastscanFile.empty()) settings.fastscanFile = AbsolutePath(options.fastscanFile);
  return true;
}

void ApplySwitches(const ScanOptions& options, SettingsRecord& settings) {
  ApplySwitch(options.scanGames, settings.scanGames);
  ApplySwitch(options.scanRoms, settings.scanRoms);
  ApplySwitch(options.scanSamples, settings.scanSamples);
  ApplySwitch(options.checkMissing, settings.checkMissing);
  ApplySwitch(options.checkChecksum, settings.checkChecksum);
  ApplySwitch(options.checkUnneeded, settings.checkUnneeded);
  ApplySwitch(options.checkName, settings.checkName);
  ApplySwitch(options.checkLength, settings.checkLength);
  ApplySwitch(options.checkCase, settings.checkCase);
  ApplySwitch(options.allowDoubleNames, settings.allowDoubleNames);
  ApplySwitch(options.altSamplesSupport, settings.altSamplesSupport);
  ApplySwitch(options.advancedUnneeded, settings.advancedUnneeded);
  ApplySwitch(options.zeroCrcCreation, settings.zeroCrcCreation);
  ApplySwitch(options.showMissingZeroCrcs, settings.showMissingZeroCrcs);
  ApplySwitch(options.showAllZeroCrcs, settings.showAllZeroCrcs);
  ApplySwitch(options.pathWarnings, settings.pathWarnings);
  ApplySwitch(options.addStatistics, settings.addStatistics);
  ApplyChoices(options, settings);
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
  ApplyFix(options.fixCase, options.checkCase, settings.fixCase, settings.checkCase);
  ApplyFix(options.fixName, options.checkName, settings.fixName, settings.checkName);
  ApplyFix(options.fixLength, options.checkLength, settings.fixLength, settings.checkLength);
  ApplyFix(options.fixUnneeded, options.checkUnneeded, settings.fixUnneeded, settings.checkUnneeded);
  std::optional<bool> fixMissing = options.fixMissing;
  if (options.fixMissingAdvanced.value_or(false)) fixMissing = true;
  ApplyFix(fixMissing, options.checkMissing, settings.fixMissing, settings.checkMissing);
  ApplyFix(options.fixMissingAdvanced, options.checkMissing, settings.fixMissingAdvanced, settings.checkMissing);
  ApplySwitch(options.backups, settings.makeBackups);
  ApplySwitch(options.askBeforeFixing, settings.askBeforeFixing);
}

// What the desktop program checks before it opens the scanner: missing
// paths are disabled (with a message), and the working folders must exist.
// The default backup folder is made when missing, as the program does at
// start.
bool CheckScanPreconditions(SettingsRecord& settings, UserInterface& ui) {
  if (!settings.backupFolder.empty() && !FolderExists(settings.backupFolder)) CreateFolder(settings.backupFolder);
  ValidateProfile(settings, &ui);
  MessageStyle stop{MessageButtons::kOk, MessageIcon::kStop};
  if (settings.tempFolder.empty()) {
    ShowMessage(&ui, "No Valid Temporaryfolder\n\nGo To The Settings Dialog !", "Path Error", stop);
    return false;
  }
  if (settings.makeBackups && settings.backupFolder.empty()) {
    ShowMessage(&ui, "No Valid Backupfolder\n\nGo To The Settings Dialog !", "Path Error", stop);
    return false;
  }
  return true;
}

}  // namespace

void AddScanOptions(CLI::App& command, ScanOptions& options) {
  AddDataOptions(command, options.data);
  command.add_option("--set-type", options.setType, "Set layout (default split)")
      ->check(CLI::IsMember(kSetTypeNames));
  command.add_option("--game-types", options.gameTypes, "Games to scan (default both)")
      ->check(CLI::IsMember(kScanGameTypeNames));
  AddSwitch(command, "scan-games", options.scanGames, "Check the game sets (default on)");
  AddSwitch(command, "scan-roms", options.scanRoms, "Check the ROMs (default on)");
  AddSwitch(command, "scan-samples", options.scanSamples, "Check the samples (default on)");
  AddSwitch(command, "check-missing", options.checkMissing, "Report missing files (default on)");
  AddSwitch(command, "check-checksum", options.checkChecksum, "Report wrong checksums (default on)");
  AddSwitch(command, "check-unneeded", options.checkUnneeded, "Report unneeded files (default on)");
  AddSwitch(command, "check-name", options.checkName, "Report wrongly named ROMs (default on)");
  AddSwitch(command, "check-length", options.checkLength, "Report wrong lengths (default on)");
  AddSwitch(command, "check-case", options.checkCase, "Report wrong letter case (default off)");
  AddSwitch(command, "allow-double-names", options.allowDoubleNames, "Accept a ROM under another name of its family (default on)");
  AddSwitch(command, "alt-samples", options.altSamplesSupport, "Alternative samples (default on)");
  AddSwitch(command, "advanced-unneeded", options.advancedUnneeded, "Advanced unneeded check (default off)");
  AddSwitch(command, "zero-crc-creation", options.zeroCrcCreation, "Create 0-CRC files (default on)");
  AddSwitch(command, "show-missing-zero-crcs", options.showMissingZeroCrcs, "Show missing 0-CRC ROMs (default on)");
  AddSwitch(command, "show-all-zero-crcs", options.showAllZeroCrcs, "Show every 0-CRC ROM (default off)");
  AddSwitch(command, "path-warnings", options.pathWarnings, "Warn about suspicious paths first (default on)");
  AddSwitch(command, "add-statistics", options.addStatistics, "Add the statistics to the logfile (default off)");
  AddSwitch(command, "fix-case", options.fixCase, "Correct the letter case of sets, ROMs and samples");
  AddSwitch(command, "fix-name", options.fixName, "Rename wrongly named ROMs and sets");
  AddSwitch(command, "fix-length", options.fixLength, "Cut over-long ROMs down to the ROM");
  AddSwitch(command, "fix-unneeded", options.fixUnneeded, "Remove unneeded files (into the backup zips)");
  AddSwitch(command, "fix-missing", options.fixMissing, "Add missing ROMs from the add paths");
  AddSwitch(command, "fix-missing-advanced", options.fixMissingAdvanced,
            "Also look at every file directly inside the add paths (implies --fix-missing)");
  AddSwitch(command, "backups", options.backups, "Keep removed files in the backup folder (default on)");
  AddSwitch(command, "ask-before-fixing", options.askBeforeFixing, "Ask before each repair, see --answer (default on)");
  command.add_option("--log", options.logfile, "Write the scanner logfile");
  command.add_option("--fastscan-file", options.fastscanFile, "The fastscan file (default fastscan.fsc)");
}

void ApplyScanOptions(const ScanOptions& options, SettingsRecord& settings) {
  ApplySwitches(options, settings);
  ApplyFixSwitches(options, settings);
}

int RunScanCommand(const ScanOptions& options, bool fastscan, UserInterface& ui) {
  std::string dataFolder = ChooseDataFolder(options.data);
  SettingsRecord settings;
  if (!BuildSettings(options.data, dataFolder, settings)) return kExitRefused;
  ApplyScanOptions(options, settings);
  // A fastscan file named by no option lives with the data caches, not in
  // whatever folder the command was started from.
  if (options.fastscanFile.empty() && !settings.fastscanFile.empty() && settings.fastscanFile[0] != '/')
    settings.fastscanFile = dataFolder + settings.fastscanFile;
  GameList database;
  if (!LoadGameData(options.data, settings, dataFolder, ui, database)) return kExitRefused;
  if (!CheckScanPreconditions(settings, ui)) return kExitRefused;

  ZipLibrary zipLibrary;
  InitZipLibrary(zipLibrary);
  zipLibrary.level = static_cast<char>('0' + std::clamp(settings.zipLevel, 0, 9));
  ScanRequest request;
  request.fastscan = fastscan;
  request.dataFolder = dataFolder;
  request.zipLibrary = &zipLibrary;
  request.showStatistics = false;
  ResultsModel results;
  ScanOutcome outcome = RunScan(database, settings, &ui, results, request);
  if (outcome.refused) return kExitRefused;

  PrintScanReport(results, outcome.statisticsText, stdout);
  bool logSaved = options.logfile.empty() || SaveScannerLog(settings.scannerLogfile, results, settings.addStatistics,
                                                            outcome.statisticsText, &ui);
  if (!outcome.ranToEnd) {
    std::fputs("Scan stopped before its end: the findings so far are shown; no fastscan file was written\n", stderr);
    return kExitFindings;
  }
  if (!logSaved) return kExitFindings;
  return HasResultLines(results) ? kExitFindings : kExitDone;
}

}  // namespace kestrel
