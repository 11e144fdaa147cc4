#include "platform/dry_run_file_system.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

// The absolute form of `path` with '/' only and no trailing '/'; "" for
// the root.
std::string ViewPath(std::string_view path) {
  std::string result = AbsolutePath(path);
  std::replace(result.begin(), result.end(), '\\', '/');
  while (!result.empty() && result.back() == '/') result.pop_back();
  return result;
}

bool HasTrailingSeparator(std::string_view path) { return !path.empty() && IsPathSeparator(path.back()); }

std::vector<std::string> Components(const std::string& viewPath) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= viewPath.size()) {
    size_t end = viewPath.find('/', start);
    if (end == std::string::npos) end = viewPath.size();
    std::string part = viewPath.substr(start, end - start);
    if (!part.empty() && part != ".") parts.push_back(std::move(part));
    start = end + 1;
  }
  return parts;
}

std::string ParentOf(const std::string& viewPath) {
  size_t slash = viewPath.rfind('/');
  return slash == std::string::npos ? std::string() : viewPath.substr(0, slash);
}

std::string NameOf(const std::string& viewPath) { return viewPath.substr(viewPath.rfind('/') + 1); }

bool IsInside(const std::string& path, const std::string& folder) {
  return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
}

// A folder made and removed again in the same run (a work folder) leaves
// no change behind; its name, often made of the process number, would
// differ in the real run anyway.
std::vector<FileChange> WithoutWorkFolders(std::vector<FileChange> changes) {
  std::vector<bool> dropped(changes.size(), false);
  for (size_t made = 0; made < changes.size(); ++made) {
    if (changes[made].kind != ChangeKind::kCreateFolder) continue;
    const std::string folder = ViewPath(changes[made].path);
    for (size_t removed = made + 1; removed < changes.size(); ++removed) {
      if (changes[removed].kind != ChangeKind::kRemoveFolder || ViewPath(changes[removed].path) != folder) continue;
      dropped[made] = dropped[removed] = true;
      break;
    }
  }
  std::vector<FileChange> left;
  for (size_t i = 0; i < changes.size(); ++i)
    if (!dropped[i]) left.push_back(std::move(changes[i]));
  return left;
}

}  // namespace

DryRunFileSystem::DryRunFileSystem(const std::string& scratchParent)
    : scratch_(kestrel::CreateUniqueFolder(scratchParent)) {}

DryRunFileSystem::~DryRunFileSystem() {
  if (scratch_.empty()) return;
  for (const FolderEntry& entry : kestrel::ListFolder(scratch_)) kestrel::DeleteFile(scratch_ + entry.name);
  kestrel::RemoveFolder(scratch_);
}

std::vector<FileChange> DryRunFileSystem::Changes() {
  std::lock_guard<std::mutex> lock(mutex_);
  return WithoutWorkFolders(changes_.changes());
}

// Walks the view one name at a time: the run's own record of a path wins
// over the disk, and below a folder the run renamed the disk is read where
// that folder came from.
std::optional<DryRunFileSystem::Place> DryRunFileSystem::Find(std::string_view path, bool exactOnly) {
  if (path.empty()) return std::nullopt;
  Place place{"", true, std::string(), nullptr};
  for (const std::string& name : Components(ViewPath(path))) {
    if (!place.isFolder) return std::nullopt;
    std::optional<Place> child = Child(place, name);
    if (!child && !exactOnly) child = ChildWithoutCase(place, name);
    if (!child) return std::nullopt;
    place = std::move(*child);
  }
  return place;
}

std::optional<DryRunFileSystem::Place> DryRunFileSystem::Child(const Place& folder, const std::string& name) {
  std::string path = folder.path + "/" + name;
  auto node = nodes_.find(path);
  if (node != nodes_.end()) {
    if (node->second.kind == NodeKind::kGone) return std::nullopt;
    return Place{path, node->second.kind == NodeKind::kFolder, node->second.backing, &node->second};
  }
  if (!folder.backing) return std::nullopt;
  std::string disk = *folder.backing + "/" + name;
  struct stat info;
  if (::stat(disk.c_str(), &info) != 0) return std::nullopt;
  return Place{path, S_ISDIR(info.st_mode), disk, nullptr};
}

// The first name byte-wise that equals `name` without case, as FindPath
// picks it on disk.
std::optional<DryRunFileSystem::Place> DryRunFileSystem::ChildWithoutCase(const Place& folder,
                                                                           const std::string& name) {
  std::optional<std::string> first;
  if (folder.backing) {
    for (const std::string& entry : DiskNames(*folder.backing)) {
      if (!EqualsNoCase(entry, name) || nodes_.count(folder.path + "/" + entry) != 0) continue;
      first = entry;
      break;
    }
  }
  const std::string prefix = folder.path + "/";
  for (auto node = nodes_.lower_bound(prefix); node != nodes_.end() && IsInside(node->first, folder.path); ++node) {
    const std::string entry = node->first.substr(prefix.size());
    if (node->second.kind == NodeKind::kGone || entry.find('/') != std::string::npos) continue;
    if (EqualsNoCase(entry, name) && (!first || entry < *first)) first = entry;
  }
  if (!first) return std::nullopt;
  return Child(folder, *first);
}

// The names in a folder on disk, sorted byte-wise, read once: the run
// changes nothing there, and a lookup that misses the exact spelling would
// otherwise read a folder of thousands of sets again.
const std::vector<std::string>& DryRunFileSystem::DiskNames(const std::string& folder) {
  auto cached = diskNames_.find(folder);
  if (cached != diskNames_.end()) return cached->second;
  std::vector<std::string> names;
  if (DIR* dir = ::opendir((folder + "/").c_str())) {
    while (dirent* entry = ::readdir(dir)) {
      std::string entryName = entry->d_name;
      if (entryName != "." && entryName != "..") names.push_back(std::move(entryName));
    }
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return diskNames_[folder] = std::move(names);
}

// The disk's entries less those the run changed, with what the run made.
std::vector<FolderEntry> DryRunFileSystem::Entries(const Place& folder) {
  std::vector<FolderEntry> entries;
  if (folder.backing) {
    for (FolderEntry& entry : kestrel::ListFolder(*folder.backing + "/"))
      if (nodes_.count(folder.path + "/" + entry.name) == 0) entries.push_back(std::move(entry));
  }
  const std::string prefix = folder.path + "/";
  for (auto node = nodes_.lower_bound(prefix); node != nodes_.end() && IsInside(node->first, folder.path); ++node) {
    const std::string name = node->first.substr(prefix.size());
    if (node->second.kind == NodeKind::kGone || name.find('/') != std::string::npos) continue;
    FolderEntry entry;
    entry.name = name;
    entry.isFolder = node->second.kind == NodeKind::kFolder;
    if (!entry.isFolder && node->second.backing) entry.size = kestrel::FileSize(*node->second.backing).value_or(0);
    if (!entry.isFolder && !node->second.madeWritable && node->second.backing)
      entry.readOnly = kestrel::IsReadOnly(*node->second.backing);
    entries.push_back(std::move(entry));
  }
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return entries;
}

// Records `node` at `path` and marks the folder holding it as changed.
void DryRunFileSystem::Put(const std::string& path, Node node) {
  uint64_t stamp = ++changeCount_;
  if (node.kind == NodeKind::kFolder) node.stamp = stamp;
  nodes_[path] = std::move(node);
  std::string parent = ParentOf(path);
  auto folder = nodes_.find(parent);
  if (folder != nodes_.end()) {
    folder->second.stamp = stamp;
    return;
  }
  if (std::optional<Place> place = Find(parent.empty() ? "/" : parent, true))
    nodes_[parent] = Node{NodeKind::kFolder, place->backing, false, stamp};
}

DryRunFileSystem::Node DryRunFileSystem::NodeOf(const Place& place) const {
  if (place.node != nullptr) return *place.node;
  return Node{place.isFolder ? NodeKind::kFolder : NodeKind::kFile, place.backing, false, 0};
}

// Moves the entry at `from` to the path `to`, with everything the run
// recorded below it.
void DryRunFileSystem::MoveEntry(const Place& from, const std::string& to) {
  Node moved = NodeOf(from);
  if (std::optional<Place> replaced = Find(to, true); replaced && replaced->node != nullptr && replaced->node->backing)
    ForgetScratchFile(*replaced->node->backing);
  std::vector<std::pair<std::string, Node>> below;
  for (auto node = nodes_.upper_bound(from.path); node != nodes_.end() && IsInside(node->first, from.path);) {
    below.emplace_back(to + node->first.substr(from.path.size()), std::move(node->second));
    node = nodes_.erase(node);
  }
  Put(from.path, Node{});
  Put(to, std::move(moved));
  for (auto& [path, node] : below) nodes_[path] = std::move(node);
}

// A scratch file nothing shows any more is removed at once, so that a long
// dry run holds no more than the real run leaves.
void DryRunFileSystem::ForgetScratchFile(const std::string& path) {
  if (!scratch_.empty() && path.compare(0, scratch_.size(), scratch_) == 0) ::unlink(path.c_str());
}

std::string DryRunFileSystem::Resolved(std::string_view path) {
  if (std::optional<Place> place = Find(path, false)) return place->path;
  std::string view = ViewPath(path);
  if (std::optional<Place> folder = Find(ParentOf(view).empty() ? "/" : ParentOf(view), false))
    return folder->path + "/" + NameOf(view);
  return std::string(path);
}

std::vector<FolderEntry> DryRunFileSystem::ListFolder(std::string_view folder, std::string_view pattern) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> place = Find(folder.empty() ? "." : folder, false);
  if (!place || !place->isFolder) return {};
  std::vector<FolderEntry> entries = Entries(*place);
  std::erase_if(entries, [&](const FolderEntry& entry) { return !MatchesWildcard(entry.name, pattern); });
  return entries;
}

std::optional<std::string> DryRunFileSystem::FindPath(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> place = Find(path, false);
  if (!place) return std::nullopt;
  return HasTrailingSeparator(path) ? place->path + "/" : place->path.empty() ? "/" : place->path;
}

std::string DryRunFileSystem::ResolvePath(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string resolved = Resolved(path);
  return HasTrailingSeparator(path) ? WithTrailingSeparator(resolved) : resolved;
}

bool DryRunFileSystem::PathExists(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  return Find(path, false).has_value();
}

bool DryRunFileSystem::FileExists(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> place = Find(path, false);
  return place && !place->isFolder;
}

bool DryRunFileSystem::FolderExists(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> place = Find(path, false);
  return place && place->isFolder;
}

std::optional<uint64_t> DryRunFileSystem::FileSize(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> place = Find(path, false);
  if (!place || place->isFolder || !place->backing) return std::nullopt;
  return kestrel::FileSize(*place->backing);
}

// A folder whose entries the run changed tells its changes by a stamp of
// its own: the disk's time of it never moves.
std::optional<timespec> DryRunFileSystem::FolderModificationTime(std::string_view folder) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> place = Find(folder, false);
  if (!place || !place->isFolder) return std::nullopt;
  if (place->node == nullptr && place->backing) return RealFileSystem().FolderModificationTime(*place->backing);
  timespec stamp{};
  stamp.tv_nsec = static_cast<long>(place->node == nullptr ? 0 : place->node->stamp);
  return stamp;
}

std::unique_ptr<ReadableFile> DryRunFileSystem::OpenForReading(std::string_view path) {
  std::string backing;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::optional<Place> place = Find(path, false);
    if (!place || place->isFolder || !place->backing) return nullptr;
    backing = *place->backing;
  }
  return RealFileSystem().OpenForReading(backing);
}

std::unique_ptr<WritableFile> DryRunFileSystem::CreateNewFile(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string view = ViewPath(path);
  if (Find(view, true)) {
    errno = EEXIST;
    return nullptr;
  }
  std::optional<Place> folder = Find(ParentOf(view).empty() ? "/" : ParentOf(view), true);
  if (!folder || !folder->isFolder || scratch_.empty()) {
    errno = ENOENT;
    return nullptr;
  }
  std::string backing = scratch_ + std::to_string(scratchCount_++);
  std::unique_ptr<WritableFile> file = RealFileSystem().CreateNewFile(backing);
  if (!file) return nullptr;
  Put(view, Node{NodeKind::kFile, backing, false, 0});
  changes_.Created(path);
  return file;
}

bool DryRunFileSystem::ReplacePath(std::string_view from, std::string_view to) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> source = Find(from, true);
  std::optional<Place> target = Find(to, true);
  if (!source || (target && target->isFolder != source->isFolder)) return false;
  if (!Find(ParentOf(ViewPath(to)).empty() ? "/" : ParentOf(ViewPath(to)), true)) return false;
  bool targetExisted = Find(to, false).has_value();
  if (source->path != ViewPath(to)) MoveEntry(*source, ViewPath(to));
  changes_.Replaced(from, to, targetExisted);
  return true;
}

// As the disk's rename: the target is spelled as given in the folder found
// without case, and another entry of its name (without case) stops it.
bool DryRunFileSystem::RenamePath(std::string_view from, std::string_view to) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> source = Find(from, false);
  if (!source) return false;
  std::string view = ViewPath(to);
  std::optional<Place> folder = Find(ParentOf(view).empty() ? "/" : ParentOf(view), false);
  if (!folder || !folder->isFolder) return false;
  std::string target = folder->path + "/" + NameOf(view);
  std::optional<Place> existing = Find(target, false);
  if (existing && existing->path != source->path) return false;
  if (target != source->path) MoveEntry(*source, target);
  changes_.Renamed(from, to);
  return true;
}

bool DryRunFileSystem::DeleteFile(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> place = Find(path, false);
  if (!place || place->isFolder) return false;
  if (place->node != nullptr && place->node->backing) ForgetScratchFile(*place->node->backing);
  Put(place->path, Node{});
  changes_.Deleted(path);
  return true;
}

bool DryRunFileSystem::CreateFolder(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Find(path, false)) return false;
  std::string view = Resolved(path);
  std::optional<Place> folder = Find(ParentOf(view).empty() ? "/" : ParentOf(view), true);
  if (!folder || !folder->isFolder) return false;
  Put(view, Node{NodeKind::kFolder, std::nullopt, false, 0});
  changes_.FolderCreated(path);
  return true;
}

bool DryRunFileSystem::RemoveFolder(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> place = Find(path, false);
  if (!place || !place->isFolder || place->path.empty() || !Entries(*place).empty()) return false;
  Put(place->path, Node{});
  changes_.FolderRemoved(path);
  return true;
}

std::string DryRunFileSystem::CreateUniqueFolder(std::string_view parent) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> folder = Find(parent, false);
  if (!folder || !folder->isFolder) return "";
  for (uint64_t number = changeCount_;; ++number) {
    std::string path = folder->path + "/kestrel-dry-" + std::to_string(number);
    if (Find(path, false)) continue;
    Put(path, Node{NodeKind::kFolder, std::nullopt, false, 0});
    changes_.FolderCreated(path + "/");
    return path + "/";
  }
}

bool DryRunFileSystem::ClearReadOnly(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> place = Find(path, false);
  if (!place) return false;
  Node node = NodeOf(*place);
  node.madeWritable = true;
  nodes_[place->path] = std::move(node);
  return true;
}

bool DryRunFileSystem::IsReadOnly(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> place = Find(path, false);
  if (!place || !place->backing || (place->node != nullptr && place->node->madeWritable)) return false;
  return kestrel::IsReadOnly(*place->backing);
}

bool DryRunFileSystem::IsSymbolicLink(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> place = Find(path, false);
  return place && place->node == nullptr && place->backing && kestrel::IsSymbolicLink(*place->backing);
}

bool DryRunFileSystem::IsWritableFolder(std::string_view folder) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Place> place = Find(folder, false);
  if (!place || !place->isFolder) return false;
  if (!place->backing || (place->node != nullptr && place->node->madeWritable)) return true;
  return kestrel::IsWritableFolder(*place->backing);
}

// The disk that would hold `path`: where its nearest folder on disk is.
std::optional<DiskSpace> DryRunFileSystem::QueryDiskSpace(std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string view = ViewPath(path);
  while (true) {
    std::optional<Place> place = Find(view.empty() ? "/" : view, false);
    if (place && place->backing) return kestrel::QueryDiskSpace(*place->backing + (place->isFolder ? "/" : ""));
    if (view.empty()) return kestrel::QueryDiskSpace(path);
    view = ParentOf(view);
  }
}

}  // namespace kestrel
