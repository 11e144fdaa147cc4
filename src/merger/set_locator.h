// Finding sets by name, without case, in the ROM paths and the merge
// destination. Each folder is listed once per run: asking the file system
// for a name not spelled exactly as on disk reads the whole folder, and a
// ROM path may hold tens of thousands of sets.
//
// The listing stays true for the whole run because the merger changes only
// the sets of the family at hand, and each family comes once (a leftover
// cleaned up at the family's start may put a set back: Forget).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"

namespace kestrel {

class SetLocator {
 public:
  // The folder or zip (`setName` + ".zip") of the set in `folder`, as the
  // file system spells it; an exact spelling is preferred. nullopt when the
  // folder holds none.
  std::optional<std::string> FindFolder(const std::string& folder, const std::string& setName);
  std::optional<std::string> FindZip(const std::string& folder, const std::string& setName);
  // Lists `folder` anew when next asked: a set was put back there.
  void Forget(const std::string& folder) { listings_.erase(folder); }

 private:
  struct Listing {
    std::string realFolder;  // with a trailing '/'; "" when the folder is missing
    std::unordered_map<std::string, std::vector<FolderEntry>> byLoweredName;  // byte-wise order within
  };
  const Listing& ListingOf(const std::string& folder);
  std::optional<std::string> Find(const std::string& folder, const std::string& name, bool wantFolder);

  std::map<std::string, Listing> listings_;
};

}  // namespace kestrel
