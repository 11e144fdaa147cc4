#include "settings/check_folder.h"

#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {

bool CheckFolder(std::string& path, bool clearIfMissing) {
  // An empty text names no folder (it would otherwise stand for the current
  // one, and an unset temporary folder would pass as set).
  std::optional<std::string> real;
  if (!path.empty()) real = FindPath(path);
  if (!real || !FolderExists(*real)) {
    if (clearIfMissing) path.clear();
    return false;
  }
  // The spelling the file system reports, not a lowered one: on a system
  // whose names are case-sensitive only that spelling is sure to exist.
  path = WithTrailingSeparator(*real);
  return true;
}

}  // namespace kestrel
