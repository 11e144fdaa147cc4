#include "merger/set_locator.h"

namespace kestrel {

std::optional<std::string> SetLocator::Find(const std::string& folder, const std::string& name, EntryKind kind) {
  std::optional<IndexedName> found = index_.Find(folder, name, kind);
  if (!found) return std::nullopt;
  return found->path;
}

std::optional<std::string> SetLocator::FindFolder(const std::string& folder, const std::string& setName) {
  return Find(folder, setName, EntryKind::kFolder);
}

std::optional<std::string> SetLocator::FindZip(const std::string& folder, const std::string& setName) {
  return Find(folder, setName + ".zip", EntryKind::kFile);
}

}  // namespace kestrel
