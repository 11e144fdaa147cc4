#include "scanner/folder_index.h"

#include <dirent.h>
#include <sys/stat.h>

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

bool IsFolderEntry(const std::string& folder, const dirent& entry) {
  if (entry.d_type == DT_DIR) return true;
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return false;
  struct stat info;
  return ::stat((folder + entry.d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

FolderIndex::Listing* FolderIndex::Current(const std::string& folder) {
  struct stat info;
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return nullptr;
  auto cached = listings_.find(folder);
  if (cached != listings_.end() && cached->second.trusted &&
      SameTime(cached->second.modified, info.st_mtim)) {
    return &cached->second;
  }
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return nullptr;
  Listing listing;
  listing.modified = info.st_mtim;
  listing.trusted = std::time(nullptr) - info.st_mtim.tv_sec > kQuietSeconds;
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    listing.byLowerName[ToLowerAscii(name)].push_back({name, IsFolderEntry(folder, *entry)});
  }
  ::closedir(dir);
  Listing& stored = listings_[folder];
  stored = std::move(listing);
  return &stored;
}

std::optional<IndexedName> FolderIndex::Find(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::nullopt;
  Listing* listing = Current(WithTrailingSeparator(folder));
  if (listing == nullptr) return std::nullopt;
  auto found = listing->byLowerName.find(ToLowerAscii(name));
  if (found == listing->byLowerName.end()) return std::nullopt;
  for (const IndexedName& entry : found->second) {
    if (entry.name == name) return entry;
  }
  return found->second.front();
}

}  // namespace kestrel
