#include "cli/profile_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/data_options.h"
#include "cli/exit_status.h"
#include "cli/scan_command.h"
#include "platform/paths.h"
#include "settings/profile_fields.h"
#include "settings/profile_file.h"

namespace kestrel {

namespace {
const ChoiceNames kMergeModeNames = {"split", "merged"};

// Software lists named make the profile's data source, as the settings
// dialog keeps it.
void ApplySoftwareLists(const DataOptions& options, SettingsRecord& settings) {
  if (options.softwareLists.empty() && options.hashPath.empty()) return;
  settings.dataSource = DataSourceKind::kSoftwareLists;
  settings.softwareLists.clear();
  for (const std::string& file : options.softwareLists)
    settings.softwareLists.push_back({AbsolutePath(file), true, -1, static_cast<int>(settings.softwareLists.size())});
  settings.hashPath = options.hashPath.empty() ? "" : WithTrailingSeparator(AbsolutePath(options.hashPath));
}
}  // namespace

int ShowProfile(const std::string& path) {
  SettingsRecord record;
  if (!LoadProfile(record, path)) {
    std::fprintf(stderr, "Error While Loading Profile: '%s'\n", path.c_str());
    return kExitRefused;
  }
  for (const auto& [name, value] : DescribeProfileFields(record))
    std::printf("%s = %s\n", name.c_str(), value.c_str());
  return kExitDone;
}

void AddProfileSaveOptions(CLI::App& command, ProfileSaveOptions& options) {
  AddScanOptions(command, options.scan);
  AddRebuildToolOptions(command, options.rebuild, "rebuild-");
  AddMergeToolOptions(command, options.merge, "merge-");
  command.add_option("--merge-mode", options.mergeMode, "What the merger builds (default merged)")
      ->check(CLI::IsMember(kMergeModeNames));
}

int SaveProfileFromOptions(const ProfileSaveOptions& options, UserInterface& ui) {
  // The profile named is the one to write, not one to start from.
  DataOptions fromDefaults = options.scan.data;
  fromDefaults.profile.clear();
  std::string dataFolder = ChooseDataFolder(fromDefaults);
  SettingsRecord settings;
  BuildSettings(fromDefaults, settings);
  ApplyScanOptions(options.scan, settings);
  ApplyRebuildOptions(options.rebuild, settings);
  ApplyMergeOptions(options.merge, settings);
  ApplyChoice(options.mergeMode, kMergeModeNames, settings.mergeMode, kMergerLayoutCodes);
  ApplySoftwareLists(fromDefaults, settings);
  GameList database;
  LoadedData loaded;
  bool sourceGiven = !fromDefaults.datfile.empty() || !fromDefaults.mameExe.empty() || !fromDefaults.raineExe.empty();
  if (sourceGiven && !LoadGameData(fromDefaults, settings, dataFolder, ui, database, loaded)) return kExitRefused;
  const std::string& path = options.scan.data.profile;
  if (!SaveProfile(settings, path, database, loaded.dataCrc)) {
    std::fprintf(stderr, "Can't write the profile '%s'\n", path.c_str());
    return kExitRefused;
  }
  return kExitDone;
}

}  // namespace kestrel
