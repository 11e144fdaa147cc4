#include "archive/folder_tree.h"

#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

void CollectFiles(FileSystem& fs, const std::string& folder, const std::string& prefix,
                  std::vector<std::string>& files) {
  for (const FolderEntry& entry : fs.ListFolder(folder)) {
    std::string path = JoinPath(folder, entry.name);
    if (fs.IsSymbolicLink(path)) continue;
    if (entry.isFolder) {
      CollectFiles(fs, path, prefix + entry.name + "/", files);
    } else {
      files.push_back(prefix + entry.name);
    }
  }
}

bool DeleteLooseEntry(FileSystem& fs, const std::string& path) {
  if (!fs.IsSymbolicLink(path) && fs.IsReadOnly(path)) fs.ClearReadOnly(path);
  return fs.DeleteFile(path);
}

void DeleteTree(FileSystem& fs, const std::string& folder, std::vector<std::string>& kept) {
  for (const FolderEntry& entry : fs.ListFolder(folder)) {
    std::string path = JoinPath(folder, entry.name);
    if (entry.isFolder && !fs.IsSymbolicLink(path)) {
      DeleteTree(fs, path, kept);
    } else if (!DeleteLooseEntry(fs, path)) {
      kept.push_back(path);
    }
  }
  if (!fs.RemoveFolder(folder)) kept.push_back(folder);
}

}  // namespace

std::vector<std::string> ListTreeFiles(FileSystem& fs, const std::string& folder) {
  std::vector<std::string> files;
  CollectFiles(fs, folder, "", files);
  return files;
}

std::vector<std::string> DeleteFolderTree(FileSystem& fs, const std::string& folder) {
  std::vector<std::string> kept;
  if (fs.IsSymbolicLink(folder)) {
    if (!fs.DeleteFile(folder)) kept.push_back(folder);
  } else {
    DeleteTree(fs, folder, kept);
  }
  return kept;
}

}  // namespace kestrel
