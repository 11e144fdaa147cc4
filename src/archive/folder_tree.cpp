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

bool DeleteLooseEntry(const std::string& path) {
  if (!IsSymbolicLink(path) && IsReadOnly(path)) ClearReadOnly(path);
  return DeleteFile(path);
}

void DeleteTree(const std::string& folder, std::vector<std::string>& kept) {
  for (const FolderEntry& entry : ListFolder(folder)) {
    std::string path = JoinPath(folder, entry.name);
    if (entry.isFolder && !IsSymbolicLink(path)) {
      DeleteTree(path, kept);
    } else if (!DeleteLooseEntry(path)) {
      kept.push_back(path);
    }
  }
  if (!RemoveFolder(folder)) kept.push_back(folder);
}

}  // namespace

std::vector<std::string> ListTreeFiles(const std::string& folder) {
  std::vector<std::string> files;
  CollectFiles(folder, "", files);
  return files;
}

std::vector<std::string> DeleteFolderTree(const std::string& folder) {
  std::vector<std::string> kept;
  if (IsSymbolicLink(folder)) {
    if (!DeleteFile(folder)) kept.push_back(folder);
  } else {
    DeleteTree(folder, kept);
  }
  return kept;
}

}  // namespace kestrel
