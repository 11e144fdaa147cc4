#include "cli/merge_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "cli/dry_run.h"
#include "cli/exit_status.h"
#include "cli/flag_pair.h"
#include "cli/torrentzip_check.h"
#include "gamedb/rom_home.h"
#include "merger/merger.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "settings/validate_profile.h"

namespace kestrel {
namespace {

// The command builds what it is named after. Clean Set and Remove Old change
// or delete the user's sets, so on the command line they are off unless
// asked for, whatever the profile says; so is placing the sets elsewhere.
void ApplyCommandOptions(const MergeOptions& options, SetLayout layout, SettingsRecord& settings) {
  if (!KeepsFamiliesApart(layout)) settings.mergeMode = layout;
  settings.mergeCleanSet = false;
  settings.mergeRemoveOld = false;
  settings.mergePlacement = MergePlacement::kKeepPosition;
  ApplyMergeOptions(options, settings);
}

// The command's name in the undo journal.
const char* CommandName(SetLayout layout) {
  return layout == SetLayout::kMerged ? "merge" : layout == SetLayout::kSplit ? "split"
         : layout == SetLayout::kNonMerged ? "unmerge" : "unmerge --full";
}

// A skipped family names its work folder, so that the user can look at what
// an interrupted run left there and remove it.
void PrintSkipped(const std::vector<SkippedFamily>& families, std::FILE* out) {
  for (const SkippedFamily& family : families) {
    const char* why = FolderExists(family.workFolder) ? "is left over from an interrupted run" : "can't be made";
    std::fprintf(out, "skipped %s: the work folder '%s' %s\n", family.parent.c_str(), family.workFolder.c_str(),
                 why);
  }
}

}  // namespace

void AddMergeOptions(CLI::App& command, MergeOptions& options) {
  AddDataOptions(command, options.data);
  AddMergeToolOptions(command, options, "");
  AddDryRunFlag(command, options.dryRun);
}

void AddMergeToolOptions(CLI::App& command, MergeOptions& options, const std::string& prefix) {
  AddFlagPair(command, prefix + "zip", prefix + "folders", options.zip,
            "Write the new sets as zips or folders; default the profile's, zips");
  AddFlagPair(command, prefix + "clean-set", "no-" + prefix + "clean-set", options.cleanSet,
            "The new sets hold only the family's files (old files are dropped)");
  AddFlagPair(command, prefix + "remove-old", "no-" + prefix + "remove-old", options.removeOld,
            "Remove the old parent and clone sets from the other ROM paths");
  AddSwitch(command, prefix + "torrentzip", options.torrentZip,
            "Write the zips in TorrentZip's canonical form; default the profile's, off");
  command.add_option("--" + prefix + "destination", options.destination,
                     "Put the new sets into this folder instead of where they are");
}

void ApplyMergeOptions(const MergeOptions& options, SettingsRecord& settings) {
  if (options.zip) settings.mergeZip = *options.zip;
  if (options.cleanSet) settings.mergeCleanSet = *options.cleanSet;
  if (options.removeOld) settings.mergeRemoveOld = *options.removeOld;
  ApplySwitch(options.torrentZip, settings.mergeTorrentZip);
  if (options.destination.empty()) return;
  settings.mergePlacement = MergePlacement::kIntoDestination;
  settings.mergeDestination = WithTrailingSeparator(AbsolutePath(options.destination));
}

int RunMergeCommand(const MergeOptions& options, SetLayout layout, UserInterface& ui) {
  std::string dataFolder = ChooseDataFolder(options.data);
  SettingsRecord settings;
  if (!BuildSettings(options.data, settings)) return kExitRefused;
  ApplyCommandOptions(options, layout, settings);
  GameList database;
  LoadedData loaded;
  if (!LoadGameData(options.data, settings, dataFolder, ui, database, loaded)) return kExitRefused;
  // The merger works in the enabled ROM paths that exist, as the desktop
  // program hands them over.
  if (!PrepareBackupFolder(settings, ui)) return kExitRefused;
  ValidateProfile(settings, &ui);

  ZipLibrary zipLibrary;
  zipLibrary.level = ZipLevelCharacter(settings.zipLevel);
  TorrentZipMisses torrentZipMisses;
  zipLibrary.torrentZipMisses = &torrentZipMisses;
  MergeButton button = layout == SetLayout::kFullNonMerged ? MergeButton::kUnmergeFull
                       : layout == SetLayout::kNonMerged   ? MergeButton::kUnmerge
                                                           : MergeButton::kMerge;
  RunFiles files(options.dryRun, SharedDataFolder(options.data), CommandName(layout), options.noUndo);
  MergeOutcome outcome = RunMerger(database, settings, &ui, zipLibrary, button, files.fs());
  if (!outcome.started) return kExitRefused;
  int status = ReportMergeOutcome(outcome, stdout);
  if (PrintTorrentZipMisses(torrentZipMisses, stdout) > 0) status = kExitFindings;
  files.PrintChanges(stdout);
  return status;
}

int ReportMergeOutcome(const MergeOutcome& outcome, std::FILE* out) {
  for (const std::string& parent : outcome.handled) std::fprintf(out, "done %s\n", parent.c_str());
  PrintSkipped(outcome.skipped, out);
  for (const FailedFamily& family : outcome.failed)
    std::fprintf(out, "failed, old sets kept: %s: %s\n", family.parent.c_str(), family.reason.c_str());
  for (const KeptFile& file : outcome.kept) std::fprintf(out, "kept %s: %s\n", file.path.c_str(), file.reason.c_str());
  for (const std::string& file : outcome.unreadable) std::fprintf(out, "unreadable %s: left as it is\n", file.c_str());
  for (const KeptFile& file : outcome.movedDisks)
    std::fprintf(out, "moved %s: %s\n", file.path.c_str(), file.reason.c_str());
  for (const std::string& leftover : outcome.cleanedLeftovers)
    std::fprintf(out, "cleared %s: left by an interrupted run\n", leftover.c_str());
  if (outcome.stopped) std::fputs("stopped before the end\n", out);
  std::fprintf(out, "%zu done, %zu skipped, %zu failed\n", outcome.handled.size(), outcome.skipped.size(),
               outcome.failed.size());
  // A kept file is one the run meant to remove and could not make safe; an
  // unreadable one may hold what the sets lack: the user has to look at them.
  bool allDone = outcome.skipped.empty() && outcome.failed.empty() && outcome.kept.empty() &&
                 outcome.unreadable.empty() && !outcome.stopped;
  return allDone ? kExitDone : kExitFindings;
}

}  // namespace kestrel
