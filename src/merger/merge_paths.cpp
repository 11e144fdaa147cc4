#include "merger/merge_paths.h"

#include <optional>

#include "app/user_interface.h"
#include "merger/merge_run.h"
#include "merger/set_locator.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

std::string Spelled(FileSystem& fs, const std::string& folder) {
  std::optional<std::string> real = fs.FindPath(folder);
  return WithTrailingSeparator(real ? *real : folder);
}

}  // namespace

std::string FindSetPath(MergeRun& run, const std::string& name) {
  if (!IsPlainFileName(name)) return "";
  for (const std::string& romPath : run.romPaths) {
    if (run.sets.FindFolder(romPath, name) || run.sets.FindZip(romPath, name)) return romPath;
  }
  return "";
}

std::string DestinationFolderOf(MergeRun& run, const std::string& name) {
  if (run.settings.mergePlacement == MergePlacement::kIntoDestination) return run.settings.mergeDestination;
  std::string found = FindSetPath(run, name);
  if (!found.empty()) return found;
  return run.romPaths.empty() ? std::string() : run.romPaths.front();
}

bool SameFolder(FileSystem& fs, const std::string& a, const std::string& b) {
  return EqualsNoCase(Spelled(fs, a), Spelled(fs, b));
}

}  // namespace kestrel
