// The names inside the folders a tool works in, found without case. A ROM
// path holds thousands of sets, and a lookup that misses the exact spelling
// would otherwise list the whole folder again for every set.
//
// A listing is never trusted past a change: every lookup compares the
// folder's modification time with the one the listing was taken at, and a
// listing taken while the folder was still changing (its time within two
// seconds of the clock, which a further change might share) is taken again
// next time. A tool that has just
// written or removed an entry therefore always finds the folder as it is,
// without telling the index.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"

namespace kestrel {

// What kind of entry a lookup accepts.
enum class EntryKind { kAny, kFile, kFolder };

struct IndexedName {
  std::string name;  // as the file system spells it
  std::string path;  // the folder as the file system spells it, '/', then `name`
  bool isFolder = false;
};

class FolderIndex {
 public:
  FolderIndex() : fs_(RealFileSystem()) {}
  // Lists folders through `fs`.
  explicit FolderIndex(FileSystem& fs) : fs_(fs) {}

  // The entry of `folder` of kind `kind` whose name equals `name` without
  // case, an exact match preferred; nullopt when the folder (found without
  // case) holds none or is missing.
  std::optional<IndexedName> Find(const std::string& folder, std::string_view name,
                                  EntryKind kind = EntryKind::kAny);

 private:
  struct Listing {
    std::string realFolder;  // as spelled on disk, ending with '/'
    timespec modified{};
    bool trusted = false;  // the folder had been quiet for a while when listed
    uint64_t changeCount = 0;  // the file system's change count when listed
    std::unordered_map<std::string, std::vector<IndexedName>> byLowerName;  // byte-wise order within
  };
  Listing* Current(const std::string& folder);

  FileSystem& fs_;

  std::unordered_map<std::string, Listing> listings_;
};

}  // namespace kestrel
