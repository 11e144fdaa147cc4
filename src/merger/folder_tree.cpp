#include "merger/folder_tree.h"

#include <optional>

#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {

bool RemoveFolderTree(const std::string& path) {
  std::optional<std::string> real = FindPath(path);
  if (!real) return true;
  std::string folder = WithTrailingSeparator(*real);
  for (const FolderEntry& entry : ListFolder(folder)) {
    std::string child = folder + entry.name;
    // Unlinking first removes files and links alike; only a real folder
    // refuses and is descended into, so a link never leads outside.
    if (DeleteFile(child)) continue;
    if (entry.isFolder) RemoveFolderTree(child);
  }
  return RemoveFolder(folder) || !PathExists(*real);
}

}  // namespace kestrel
