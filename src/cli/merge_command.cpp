#include "cli/merge_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "merger/merger.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "settings/validate_profile.h"

namespace kestrel {
namespace {

void ApplyOptions(const MergeOptions& options, MergeLayout layout, SettingsRecord& settings) {
  settings.mergeMode = layout == MergeLayout::kSplit ? 0 : 1;
  if (options.zip) settings.mergeZip = *options.zip;
  settings.mergeCleanSet = options.cleanSet;
  settings.mergeRemoveOld = options.removeOld;
  settings.mergePlacement = options.destination.empty() ? 0 : 1;
  if (!options.destination.empty()) settings.mergeDestination = WithTrailingSeparator(AbsolutePath(options.destination));
}

// The enabled ROM paths that exist, as the desktop program hands them to
// the merger.
void FillActiveRomPaths(SettingsRecord& settings) {
  settings.activeRomPaths.clear();
  for (const PathEntry& entry : settings.romPaths)
    if (entry.enabled) settings.activeRomPaths.push_back(entry.path);
  settings.activeRomPathCount = static_cast<int32_t>(settings.activeRomPaths.size());
}

void PrintFamilies(const char* label, const std::vector<std::string>& parents) {
  for (const std::string& parent : parents) std::printf("%s %s\n", label, parent.c_str());
}

// A skipped family names its work folder, so that the user can look at what
// an interrupted run left there and remove it.
void PrintSkipped(const std::vector<SkippedFamily>& families) {
  for (const SkippedFamily& family : families) {
    const char* why = FolderExists(family.workFolder) ? "is left over from an interrupted run" : "can't be made";
    std::printf("skipped %s: the work folder '%s' %s\n", family.parent.c_str(), family.workFolder.c_str(), why);
  }
}

}  // namespace

void AddMergeOptions(CLI::App& command, MergeOptions& options) {
  AddDataOptions(command, options.data);
  command.add_flag_function("--zip,!--folders", [&options](int64_t count) { options.zip = count > 0; },
                            "Write the new sets as zips (--zip) or folders (--folders); default the profile's, zips");
  command.add_flag("--clean-set", options.cleanSet, "The new sets hold only the family's files (old files are dropped)");
  command.add_flag("--remove-old", options.removeOld, "Remove the old parent and clone sets from the other ROM paths");
  command.add_option("--destination", options.destination, "Put the new sets into this folder instead of where they are");
}

int RunMergeCommand(const MergeOptions& options, MergeLayout layout, UserInterface& ui) {
  std::string dataFolder = ChooseDataFolder(options.data);
  SettingsRecord settings;
  if (!BuildSettings(options.data, dataFolder, settings)) return 2;
  ApplyOptions(options, layout, settings);
  GameList database;
  if (!LoadGameData(options.data, settings, dataFolder, ui, database)) return 2;
  ValidateProfile(settings, &ui);
  FillActiveRomPaths(settings);

  ZipLibrary zipLibrary;
  InitZipLibrary(zipLibrary);
  zipLibrary.level = static_cast<char>('0' + std::clamp(settings.zipLevel, 0, 9));
  MergeButton button = layout == MergeLayout::kNonMerged ? MergeButton::kUnmerge : MergeButton::kMerge;
  MergeOutcome outcome = RunMerger(database, settings, &ui, zipLibrary, button);
  if (!outcome.started) return 2;
  PrintFamilies("done", outcome.handled);
  PrintSkipped(outcome.skipped);
  PrintFamilies("failed, old sets kept:", outcome.failed);
  if (outcome.stopped) std::printf("stopped before the end\n");
  std::printf("%zu done, %zu skipped, %zu failed\n", outcome.handled.size(), outcome.skipped.size(),
              outcome.failed.size());
  return 0;
}

}  // namespace kestrel
