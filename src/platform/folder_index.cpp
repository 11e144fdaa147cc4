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
  // changed since, through this file system.
  if (cached != listings_.end() && SameTime(cached->second.modified, *modified) &&
      (cached->second.trusted || cached->second.changeCount == changeCount)) {
    cached->second.checkedRound = round_;
    cached->second.checkedChangeCount = changeCount;
    return &cached->second;
  }
  // A tool that keeps writing into a folder looks again at what it changed
  // there, not at the whole folder: once per set written, a listing would
  // make writing n sets cost n² names.
  if (cached != listings_.end() && BringUpToDate(cached->second, *modified)) {
    cached->second.checkedRound = round_;
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

bool FolderIndex::BringUpToDate(Listing& listing, const timespec& modified) {
  std::optional<ChangedPaths> changed = fs_.ChangedPathsSince(listing.changeCount);
  if (!changed) return false;
  std::vector<std::string> here;
  // Another spelling of the folder, or a way to it through a link, is still
  // this folder: folders are told apart by their canonical names, each
  // found once.
  std::unordered_map<std::string, bool> isThisFolder{{listing.realFolder, true}};
  std::optional<std::string> canonical;
  for (const std::string& path : changed->paths) {
    // The disk's own paths: '/' is their one separator, and a name may hold
    // a ':' or a '\\' (FolderPart would split there).
    const std::string trimmed = WithoutTrailingSeparators(path);
    const size_t slash = trimmed.rfind('/');
    const std::string parent = slash == std::string::npos ? std::string() : trimmed.substr(0, slash + 1);
    auto known = isThisFolder.find(parent);
    if (known == isThisFolder.end()) {
      if (!canonical) canonical = CanonicalFolder(listing.realFolder).value_or("");
      std::optional<std::string> other = CanonicalFolder(parent);
      known = isThisFolder.emplace(parent, other && *other == *canonical).first;
    }
    if (known->second) here.push_back(trimmed.substr(slash == std::string::npos ? 0 : slash + 1));
  }
  // The folder changed, yet not through this file system: another program
  // may have changed anything in it.
  if (here.empty() && !SameTime(listing.modified, modified)) return false;
  for (const std::string& name : here) LookAgain(listing, name);
  listing.modified = modified;
  listing.trusted = false;
  listing.changeCount = changed->upTo;
  listing.checkedChangeCount = changed->upTo;
  return true;
}

void FolderIndex::LookAgain(Listing& listing, const std::string& name) {
  // A change names the entry as the tool asked for it; the file system
  // found it without case, so every spelling of the name is looked at.
  const std::string lowered = ToLowerAscii(name);
  std::vector<std::string> spellings{name};
  for (const IndexedName& entry : listing.byLowerName[lowered]) spellings.push_back(entry.name);
  std::sort(spellings.begin(), spellings.end());
  spellings.erase(std::unique(spellings.begin(), spellings.end()), spellings.end());
  std::vector<IndexedName> named;  // in byte-wise order, as `spellings`
  for (const std::string& spelling : spellings) {
    std::string path = listing.realFolder + spelling;
    std::optional<bool> isFolder = fs_.IsFolderSpelledAs(path);
    if (isFolder) named.push_back({spelling, std::move(path), *isFolder});
  }
  if (named.empty()) listing.byLowerName.erase(lowered);
  else listing.byLowerName[lowered] = std::move(named);
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
