#include "platform/folder_index.h"

#include <algorithm>

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
  auto cached = listings_.find(folder);
  const uint64_t changeCount = fs_.ChangeCount();
  if (cached != listings_.end() && cached->second.checkedRound == round_ &&
      cached->second.checkedChangeCount == changeCount) {
    return &cached->second;
  }
  // The folder is found without case, like every name the scan looks up.
  std::optional<std::string> real = fs_.FindPath(folder);
  std::optional<timespec> modified = real ? fs_.FolderModificationTime(*real) : std::nullopt;
  if (!modified) return nullptr;
  // A listing of a folder changed lately is still whole while nothing was
  // changed since, through this file system: a tool that keeps writing into
  // a folder lists it once per change of its own, not once per lookup.
  if (cached != listings_.end() && SameTime(cached->second.modified, *modified) &&
      (cached->second.trusted || cached->second.changeCount == changeCount)) {
    cached->second.checkedRound = round_;
    cached->second.checkedChangeCount = changeCount;
    return &cached->second;
  }
  Listing listing;
  listing.realFolder = WithTrailingSeparator(*real);
  listing.modified = *modified;
  listing.changeCount = changeCount;
  listing.checkedRound = round_;
  listing.checkedChangeCount = changeCount;
  listing.trusted = std::time(nullptr) - modified->tv_sec > kQuietSeconds;
  // Sorted byte-wise, so that among names equal without case the first is
  // the one FindPath picks, and the scan and the repairs mean the same file.
  for (FolderEntry& entry : fs_.ListFolderKinds(*real)) {
    std::string path = listing.realFolder + entry.name;
    listing.byLowerName[ToLowerAscii(entry.name)].push_back({std::move(entry.name), std::move(path), entry.isFolder});
  }
  Listing& stored = listings_[folder];
  stored = std::move(listing);
  return &stored;
}

void FolderIndex::NextRound() {
  std::lock_guard lock(mutex_);
  ++round_;
}

std::vector<IndexedName> FolderIndex::Entries(const std::string& folder) {
  std::vector<IndexedName> entries;
  if (folder.empty()) return entries;
  std::lock_guard lock(mutex_);
  Listing* listing = Current(WithTrailingSeparator(folder));
  if (listing == nullptr) return entries;
  for (const auto& [lowered, named] : listing->byLowerName) entries.insert(entries.end(), named.begin(), named.end());
  std::sort(entries.begin(), entries.end(), [](const IndexedName& a, const IndexedName& b) { return a.name < b.name; });
  return entries;
}

std::optional<IndexedName> FolderIndex::Find(const std::string& folder, std::string_view name, EntryKind kind) {
  if (folder.empty()) return std::nullopt;
  std::lock_guard lock(mutex_);
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
