#include "platform/folder_index.h"

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

// A change within this many seconds of the listing might share its
// modification time, so such a listing is not reused.
constexpr time_t kQuietSeconds = 2;

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool IsOfKind(const IndexedName& entry, EntryKind kind) {
  return kind == EntryKind::kAny || entry.isFolder == (kind == EntryKind::kFolder);
}

}  // namespace

FolderIndex::Listing* FolderIndex::Current(const std::string& folder) {
  // The folder is found without case, like every name the scan looks up.
  std::optional<std::string> real = fs_.FindPath(folder);
  std::optional<timespec> modified = real ? fs_.FolderModificationTime(*real) : std::nullopt;
  if (!modified) return nullptr;
  // A listing of a folder changed lately is still whole while nothing was
  // changed since, through this file system: a tool that keeps writing into
  // a folder lists it once per change of its own, not once per lookup.
  auto cached = listings_.find(folder);
  if (cached != listings_.end() && SameTime(cached->second.modified, *modified) &&
      (cached->second.trusted || cached->second.changeCount == fs_.ChangeCount())) {
    return &cached->second;
  }
  Listing listing;
  listing.realFolder = WithTrailingSeparator(*real);
  listing.modified = *modified;
  listing.changeCount = fs_.ChangeCount();
  listing.trusted = std::time(nullptr) - modified->tv_sec > kQuietSeconds;
  // Sorted byte-wise, so that among names equal without case the first is
  // the one FindPath picks, and the scan and the repairs mean the same file.
  for (FolderEntry& entry : fs_.ListFolder(*real)) {
    std::string path = listing.realFolder + entry.name;
    listing.byLowerName[ToLowerAscii(entry.name)].push_back({std::move(entry.name), std::move(path), entry.isFolder});
  }
  Listing& stored = listings_[folder];
  stored = std::move(listing);
  return &stored;
}

std::optional<IndexedName> FolderIndex::Find(const std::string& folder, std::string_view name, EntryKind kind) {
  if (folder.empty()) return std::nullopt;
  Listing* listing = Current(WithTrailingSeparator(folder));
  if (listing == nullptr) return std::nullopt;
  auto found = listing->byLowerName.find(ToLowerAscii(name));
  if (found == listing->byLowerName.end()) return std::nullopt;
  const IndexedName* first = nullptr;
  for (const IndexedName& entry : found->second) {
    if (!IsOfKind(entry, kind)) continue;
    if (entry.name == name) return entry;
    if (first == nullptr) first = &entry;
  }
  if (first == nullptr) return std::nullopt;
  return *first;
}

}  // namespace kestrel
