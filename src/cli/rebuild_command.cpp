#include "cli/rebuild_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>

#include "app/user_interface.h"
#include "cli/data_options.h"
#include "cli/dry_run.h"
#include "cli/exit_status.h"
#include "cli/flag_pair.h"
#include "cli/torrentzip_check.h"
#include "archive/zip_library.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "rebuilder/rebuilder.h"
#include "settings/settings_record.h"
#include "settings/validate_profile.h"

namespace kestrel {
namespace {

const ChoiceNames kRebuildGameTypeNames = {"arcade", "neogeo", "both-bios"};

std::string AsFolder(const std::string& path) { return WithTrailingSeparator(AbsolutePath(path)); }

// The desktop program opens the rebuilder only with a temporary folder.
bool CheckRebuildPreconditions(SettingsRecord& settings, UserInterface& ui) {
  if (!PrepareBackupFolder(settings, ui)) return false;
  ValidateProfile(settings, &ui);
  if (!settings.tempFolder.empty()) return true;
  ShowMessage(&ui, "No Valid Temporaryfolder\n\nGo To The Settings Dialog !", "Path Error",
              {MessageButtons::kOk, MessageIcon::kStop});
  return false;
}

}  // namespace

int ReportRebuildOutcome(const RebuildOutcome& outcome, bool removingSources, std::FILE* out) {
  for (const RebuildFailure& failure : outcome.failures)
    std::fprintf(out, "failed: %s: %s\n", failure.path.c_str(), failure.reason.c_str());
  for (const RebuildLeftover& leftover : outcome.leftovers) {
    if (leftover.movedTo.empty())
      std::fprintf(out, "cleared %s: left by an interrupted run\n", leftover.path.c_str());
    else
      std::fprintf(out, "cleared %s: left by an interrupted run, moved to '%s'\n", leftover.path.c_str(),
                   leftover.movedTo.c_str());
  }
  if (!outcome.completed) std::fputs("stopped before the end\n", out);
  const RebuildCounts& counts = outcome.counts;
  std::fprintf(out, "Source files seen: %d\nMatched: %d\nSkipped: %d\nROMs placed: %d\nSets written: %d\n",
               counts.sourceFiles, counts.matched, counts.skipped, counts.romsPlaced, counts.setsWritten);
  if (counts.listHasDisks) std::fprintf(out, "Disks placed: %d\n", counts.disksPlaced);
  if (removingSources) std::fprintf(out, "Sources removed: %d\n", counts.sourcesRemoved);
  std::fprintf(out, "Failed: %zu\n", outcome.failures.size());
  return outcome.completed && outcome.failures.empty() ? kExitDone : kExitFindings;
}

void AddRebuildOptions(CLI::App& command, RebuildOptions& options) {
  AddDataOptions(command, options.data);
  AddRebuildToolOptions(command, options, "");
  AddDryRunFlag(command, options.dryRun);
}

void AddRebuildToolOptions(CLI::App& command, RebuildOptions& options, const std::string& prefix) {
  const std::string dashes = "--" + prefix;
  command.add_option(dashes + "source", options.source, "Folder to rebuild from");
  command.add_option(dashes + "destination", options.destination, "Folder to build the sets in");
  command.add_option(dashes + "set-type", options.setType, "Set layout (default non-merged)")
      ->check(CLI::IsMember(kSetTypeNames));
  command.add_option(dashes + "game-types", options.gameTypes,
                     "arcade; neogeo (NeoGeo too, BIOS once into \"neogeo\", the default); "
                     "both-bios (BIOS into every NeoGeo set)")
      ->check(CLI::IsMember(kRebuildGameTypeNames));
  AddFlagPair(command, prefix + "zip", prefix + "folders", options.zip, "Build zipped sets (default) or folders");
  AddSwitch(command, prefix + "tilde-crcs", options.tildeCrcs, "Also rebuild ROMs listed with a complemented CRC (default on)");
  AddSwitch(command, prefix + "zero-crcs", options.zeroCrcs, "Also rebuild ROMs without a known dump by name and size (default on)");
  AddSwitch(command, prefix + "recursive", options.recursive, "Descend into subfolders of the source (default on)");
  AddSwitch(command, prefix + "remove-sources", options.removeSources, "Remove the rebuilt source files (default off)");
  AddSwitch(command, prefix + "torrentzip", options.torrentZip,
            "Write the zips in TorrentZip's canonical form, the same bytes for the same set (default off)");
  command.add_option(dashes + "log", options.logfile, "Write the rebuilder logfile");
}

void ApplyRebuildOptions(const RebuildOptions& options, SettingsRecord& settings) {
  if (!options.source.empty()) settings.rebuildSource = AsFolder(options.source);
  if (!options.destination.empty()) settings.rebuildDestination = AsFolder(options.destination);
  ApplyChoice(options.setType, kSetTypeNames, settings.rebuildMergeMode, kToolLayoutCodes);
  ApplyChoice(options.gameTypes, kRebuildGameTypeNames, settings.rebuildGameTypes);
  if (!options.logfile.empty()) settings.rebuildCreateLog = true, settings.rebuildLogfile = options.logfile;
  ApplySwitch(options.zip, settings.rebuildZip);
  ApplySwitch(options.tildeCrcs, settings.rebuildTildeCrcs);
  ApplySwitch(options.zeroCrcs, settings.rebuildZeroCrcs);
  ApplySwitch(options.recursive, settings.rebuildRecursive);
  ApplySwitch(options.removeSources, settings.rebuildRemoveSources);
  ApplySwitch(options.torrentZip, settings.rebuildTorrentZip);
}

int RunRebuildCommand(const RebuildOptions& options, UserInterface& ui) {
  std::string dataFolder = ChooseDataFolder(options.data);
  SettingsRecord settings;
  if (!BuildSettings(options.data, settings)) return kExitRefused;
  ApplyRebuildOptions(options, settings);
  GameList database;
  LoadedData loaded;
  if (!LoadGameData(options.data, settings, dataFolder, ui, database, loaded)) return kExitRefused;
  if (!CheckRebuildPreconditions(settings, ui)) return kExitRefused;
  if (!CheckRebuildFolders(settings, &ui)) return kExitRefused;

  ZipLibrary zipLibrary;
  zipLibrary.level = ZipLevelCharacter(settings.zipLevel);
  TorrentZipMisses torrentZipMisses;
  zipLibrary.torrentZipMisses = &torrentZipMisses;
  RunFiles files(options.dryRun, SharedDataFolder(options.data), "rebuild", options.noUndo);
  if (files.dryRun()) settings.rebuildCreateLog = false;
  RebuildOutcome outcome = RunRebuild(database, settings, zipLibrary, &ui, files.fs());
  if (outcome.refused) return kExitRefused;
  int status = ReportRebuildOutcome(outcome, settings.rebuildRemoveSources, stdout);
  if (PrintTorrentZipMisses(torrentZipMisses, stdout) > 0) status = kExitFindings;
  files.PrintChanges(stdout);
  return status;
}

}  // namespace kestrel
