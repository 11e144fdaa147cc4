#include "gui/path_list_editing.h"

#include <utility>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {

bool AddPath(PathList& list, const std::string& folder) {
  std::string path = WithTrailingSeparator(folder);
  if (std::optional<std::string> found = FindPath(folder); found && FolderExists(*found))
    path = WithTrailingSeparator(*found);
  for (const PathEntry& entry : list)
    if (EqualsNoCase(WithTrailingSeparator(entry.path), path)) return false;
  PathEntry entry;
  entry.path = path;
  entry.enabled = true;
  entry.position = static_cast<int>(list.size());
  list.push_back(entry);
  return true;
}

int MovePathLine(PathList& list, int index, int step) {
  const int size = static_cast<int>(list.size());
  if (index < 0 || index >= size || step == 0) return index;
  const int target = step < 0 ? index - 1 : index + 1;
  if (target < 0 || target >= size) return index;
  std::swap(list[index], list[target]);
  std::swap(list[index].position, list[target].position);
  return target;
}

void RemovePathLine(PathList& list, int index) {
  if (index < 0 || index >= static_cast<int>(list.size())) return;
  list.erase(list.begin() + index);
  for (size_t i = 0; i < list.size(); ++i) list[i].position = static_cast<int>(i);
}

}  // namespace kestrel
