#include "gui/profile_loading.h"

#include "settings/profile_file.h"

namespace kestrel {

bool LoadProfileOverSettings(SettingsRecord& settings, const std::string& path) {
  SettingsRecord loaded;
  if (!LoadProfile(loaded, path)) return false;
  loaded.startOption = settings.startOption;
  settings = std::move(loaded);
  return true;
}

}  // namespace kestrel
