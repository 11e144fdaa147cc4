// The names inside the folders a tool works in, found without case. A ROM
// path holds thousands of sets, and a lookup that misses the exact spelling
// would otherwise list the whole folder again for every set.
//
// A listing is never trusted past a change made through the index's file
// system: the first lookup after one compares the folder's modification time
// with the one the listing was taken at, and a listing taken while the
// folder was still changing (its time within two seconds of the clock, which
// a further change might share) is taken again. A tool that has just written
// or removed an entry therefore always finds the folder as it is, without
// telling the index. Changes made by other programs are seen from the next
// round of lookups on (NextRound): asking the disk at every lookup cost a
// scan three `stat` calls per name, nine per set of three names.
//
// One index may be shared by threads: every call is made under a lock.
#pragma once

#include <cstdint>
#include <ctime>
#include <mutex>
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

  // Every entry of `folder` (found without case), sorted byte-wise by name;
  // none when the folder is missing. The listing the lookups use, so a
  // folder read whole and looked into is listed once.
  std::vector<IndexedName> Entries(const std::string& folder);

  // Starts a new round of lookups: the first lookup in each folder asks the
  // disk again whether the folder changed. A tool calls it once per batch of
  // lookups (a scan's batch of sets, a merger's family), so that what other
  // programs change meanwhile is seen at the next batch.
  void NextRound();

 private:
  struct Listing {
    std::string realFolder;  // as spelled on disk, ending with '/'
    timespec modified{};
    bool trusted = false;  // the folder had been quiet for a while when listed
    uint64_t changeCount = 0;  // the file system's change count when listed
    // When the disk last confirmed the listing: the round and the change
    // count then. Within that round and while nothing changed since, it is
    // used without asking the disk.
    uint64_t checkedRound = 0;
    uint64_t checkedChangeCount = 0;
    std::unordered_map<std::string, std::vector<IndexedName>> byLowerName;  // byte-wise order within
  };
  Listing* Current(const std::string& folder);
  // Looks again at the entries of `listing`'s folder that changed through
  // the file system since it was taken, the folder's time being `modified`
  // now; false when the file system cannot say which, or the folder changed
  // otherwise, and the folder must be listed anew.
  bool BringUpToDate(Listing& listing, const timespec& modified);
  // Replaces what `listing` holds of the entry `name` by what the disk has.
  void LookAgain(Listing& listing, const std::string& name);

  FileSystem& fs_;

  std::mutex mutex_;  // guards the members below
  uint64_t round_ = 1;
  std::unordered_map<std::string, Listing> listings_;
};

}  // namespace kestrel
