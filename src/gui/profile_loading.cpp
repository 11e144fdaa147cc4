#include "gui/profile_loading.h"

#include "settings/profile_file.h"

namespace kestrel {

bool LoadProfileOverSettings(SettingsRecord& settings, const std::string& path) {
  SettingsRecord loaded;
  if (!LoadProfile(loaded, path)) return false;
  loaded.startOption = settings.startOption;
  loaded.dataCrc = settings.dataCrc;
  loaded.loadedMameExe = settings.loadedMameExe;
  loaded.loadedDatfile = settings.loadedDatfile;
  loaded.loadedRaineExe = settings.loadedRaineExe;
  loaded.dataFromMameExe = settings.dataFromMameExe;
  loaded.dataFromDatfile = settings.dataFromDatfile;
  loaded.dataFromRaineExe = settings.dataFromRaineExe;
  settings = std::move(loaded);
  return true;
}

}  // namespace kestrel
