#include "settings/enabled_paths.h"

#include "platform/paths.h"

namespace kestrel {

std::vector<std::string> EnabledPaths(const PathList& list) {
  std::vector<std::string> paths;
  for (const PathEntry& entry : list) {
    if (entry.enabled && !entry.path.empty()) paths.push_back(WithTrailingSeparator(entry.path));
  }
  return paths;
}

}  // namespace kestrel
