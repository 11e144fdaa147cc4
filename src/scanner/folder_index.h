// The names inside the ROM and sample paths, found without case. A path
// holds thousands of sets, and a lookup that misses the exact spelling
// would otherwise list the whole folder again for every set.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrel {

struct IndexedName {
  std::string name;  // as the file system spells it
  bool isFolder = false;
};

class FolderIndex {
 public:
  // The entry of `folder` whose name equals `name` without case, an exact
  // match preferred. A listing is reused only while the folder's
  // modification time shows it unchanged.
  std::optional<IndexedName> Find(const std::string& folder, std::string_view name);

 private:
  struct Listing {
    timespec modified{};
    bool trusted = false;  // the folder had been quiet for a while when listed
    std::unordered_map<std::string, std::vector<IndexedName>> byLowerName;
  };
  Listing* Current(const std::string& folder);

  std::unordered_map<std::string, Listing> listings_;
};

}  // namespace kestrel
