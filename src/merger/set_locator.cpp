#include "merger/set_locator.h"

#include "platform/set_files.h"

namespace kestrel {

std::optional<std::string> SetLocator::FindFolder(const std::string& folder, const std::string& setName) {
  std::optional<IndexedName> found = FindSetFiles(index_, folder, setName).folder;
  if (!found) return std::nullopt;
  return found->path;
}

std::optional<std::string> SetLocator::FindZip(const std::string& folder, const std::string& setName) {
  std::optional<IndexedName> found = FindSetFiles(index_, folder, setName).zip;
  if (!found) return std::nullopt;
  return found->path;
}

std::optional<std::string> SetLocator::FindWorkFolder(const std::string& folder, const std::string& setName) {
  std::optional<IndexedName> found = index_.Find(folder, setName + kWorkFolderSuffix);
  if (!found) return std::nullopt;
  return found->path;
}

}  // namespace kestrel
