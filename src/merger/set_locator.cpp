#include "merger/set_locator.h"

#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {

const SetLocator::Listing& SetLocator::ListingOf(const std::string& folder) {
  auto known = listings_.find(folder);
  if (known != listings_.end()) return known->second;
  Listing listing;
  if (std::optional<std::string> real = FindPath(folder); real && FolderExists(*real)) {
    listing.realFolder = WithTrailingSeparator(*real);
    for (FolderEntry& entry : ListFolder(listing.realFolder))
      listing.byLoweredName[ToLowerAscii(entry.name)].push_back(std::move(entry));
  }
  return listings_.emplace(folder, std::move(listing)).first->second;
}

std::optional<std::string> SetLocator::Find(const std::string& folder, const std::string& name, bool wantFolder) {
  const Listing& listing = ListingOf(folder);
  auto entries = listing.byLoweredName.find(ToLowerAscii(name));
  if (entries == listing.byLoweredName.end()) return std::nullopt;
  const FolderEntry* found = nullptr;
  for (const FolderEntry& entry : entries->second) {
    if (entry.isFolder != wantFolder) continue;
    if (entry.name == name) return listing.realFolder + entry.name;
    if (found == nullptr) found = &entry;
  }
  if (found == nullptr) return std::nullopt;
  return listing.realFolder + found->name;
}

std::optional<std::string> SetLocator::FindFolder(const std::string& folder, const std::string& setName) {
  return Find(folder, setName, true);
}

std::optional<std::string> SetLocator::FindZip(const std::string& folder, const std::string& setName) {
  return Find(folder, setName + ".zip", false);
}

}  // namespace kestrel
