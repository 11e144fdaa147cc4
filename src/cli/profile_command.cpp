#include "cli/profile_command.h"

#include <cstdio>

#include "cli/data_options.h"
#include "cli/scan_command.h"
#include "settings/profile_fields.h"
#include "settings/profile_file.h"

namespace kestrel {

int ShowProfile(const std::string& path) {
  SettingsRecord record;
  if (!LoadProfile(record, path)) {
    std::fprintf(stderr, "Error While Loading Profile: '%s'\n", path.c_str());
    return 2;
  }
  for (const auto& [name, value] : DescribeProfileFields(record))
    std::printf("%s = %s\n", name.c_str(), value.c_str());
  return 0;
}

int SaveProfileFromOptions(const ScanOptions& options, UserInterface& ui) {
  // The profile named is the one to write, not one to start from.
  DataOptions fromDefaults = options.data;
  fromDefaults.profile.clear();
  std::string dataFolder = ChooseDataFolder(fromDefaults);
  SettingsRecord settings;
  BuildSettings(fromDefaults, dataFolder, settings);
  ApplyScanOptions(options, settings);
  GameList database;
  bool sourceGiven = !fromDefaults.datfile.empty() || !fromDefaults.mameExe.empty() || !fromDefaults.raineExe.empty();
  if (sourceGiven && !LoadGameData(fromDefaults, settings, dataFolder, ui, database)) return 2;
  if (!SaveProfile(settings, options.data.profile, database)) {
    std::fprintf(stderr, "Can't write the profile '%s'\n", options.data.profile.c_str());
    return 2;
  }
  return 0;
}

}  // namespace kestrel
