#include "archive/folder_tree.h"

#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

void CollectFiles(const std::string& folder, const std::string& prefix,
                  std::vector<std::string>& files) {
  for (const FolderEntry& entry : ListFolder(folder)) {
    std::string path = JoinPath(folder, entry.name);
    if (IsSymbolicLink(path)) continue;
    if (entry.isFolder) {
      CollectFiles(path, prefix + entry.name + "/", files);
    } else {
      files.push_back(prefix + entry.name);
    }
  }
}

bool DeleteEntry(const std::string& path, bool isFolder) {
  if (IsSymbolicLink(path) || !isFolder) {
    if (!IsSymbolicLink(path) && IsReadOnly(path)) ClearReadOnly(path);
    return DeleteFile(path);
  }
  return DeleteFolderTree(path);
}

}  // namespace

std::vector<std::string> ListTreeFiles(const std::string& folder) {
  std::vector<std::string> files;
  CollectFiles(folder, "", files);
  return files;
}

bool DeleteFolderTree(const std::string& folder) {
  if (IsSymbolicLink(folder)) return DeleteFile(folder);
  bool all = true;
  for (const FolderEntry& entry : ListFolder(folder)) {
    all = DeleteEntry(JoinPath(folder, entry.name), entry.isFolder) && all;
  }
  return RemoveFolder(folder) && all;
}

}  // namespace kestrel
