#include "merger/merge_paths.h"

#include <optional>

#include "app/user_interface.h"
#include "merger/set_locator.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

std::string Spelled(const std::string& folder) {
  std::optional<std::string> real = FindPath(folder);
  return WithTrailingSeparator(real ? *real : folder);
}

}  // namespace

std::string FindSetPath(SetLocator& sets, const SettingsRecord& settings, const std::string& name) {
  if (!IsPlainFileName(name)) return "";
  for (const std::string& romPath : settings.activeRomPaths) {
    if (sets.FindFolder(romPath, name) || sets.FindZip(romPath, name)) return romPath;
  }
  return "";
}

std::string DestinationFolderOf(SetLocator& sets, const SettingsRecord& settings, const std::string& name) {
  if (settings.mergePlacement == 1) return settings.mergeDestination;
  std::string found = FindSetPath(sets, settings, name);
  if (!found.empty()) return found;
  return settings.activeRomPaths.empty() ? std::string() : settings.activeRomPaths.front();
}

bool SameFolder(const std::string& a, const std::string& b) { return EqualsNoCase(Spelled(a), Spelled(b)); }

}  // namespace kestrel
