#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

bool StatPath(const std::string& path, struct stat* info) { return ::stat(path.c_str(), info) == 0; }

// Looks for `name` inside the real folder `folder`: the exact name when it
// exists, else the first entry (byte-wise) that equals it without case.
std::optional<std::string> FindInFolder(const std::string& folder, const std::string& name) {
  std::string exact = folder + name;
  struct stat info;
  if (StatPath(exact, &info)) return exact;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::optional<std::string> best;
  while (dirent* entry = ::readdir(dir)) {
    std::string candidate = entry->d_name;
    if (candidate == "." || candidate == "..") continue;
    if (EqualsNoCase(candidate, name) && (!best || candidate < *best)) best = candidate;
  }
  ::closedir(dir);
  if (!best) return std::nullopt;
  return folder + *best;
}

}  // namespace

std::optional<std::string> FindPath(std::string_view rawPath) {
  if (rawPath.empty()) return std::nullopt;
  std::string path(rawPath);
  std::replace(path.begin(), path.end(), '\\', '/');
  bool trailing = path.size() > 1 && path.back() == '/';
  path = WithoutTrailingSeparators(path);
  struct stat info;
  if (StatPath(path, &info)) return trailing ? path + '/' : path;

  std::string resolved = path[0] == '/' ? "/" : "";
  size_t start = path[0] == '/' ? 1 : 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      resolved += "../";
      continue;
    }
    std::optional<std::string> found = FindInFolder(resolved, part);
    if (!found) return std::nullopt;
    resolved = *found;
    if (end < path.size()) resolved += '/';
  }
  if (trailing && (resolved.empty() || resolved.back() != '/')) resolved += '/';
  return resolved;
}

namespace {

// The path of a new entry `path`, known to be missing: its own name in its
// folder as found (a miss costs a listing of the folder, so the callers
// that have looked for `path` already do not look again).
std::string NewEntryPath(std::string_view path) {
  std::string folder = FolderPart(path);
  if (!folder.empty()) {
    std::optional<std::string> realFolder = FindPath(folder);
    if (realFolder) return WithTrailingSeparator(*realFolder) + FileNamePart(path);
  }
  return std::string(path);
}

}  // namespace

std::string ResolvePath(std::string_view path) {
  std::optional<std::string> found = FindPath(path);
  return found ? *found : NewEntryPath(path);
}

namespace {

// The entries of `folder` (found without case) but "." and "..", each
// made into a FolderEntry by `describe` (given the folder as found, ending
// with '/', and the entry), which returns nullopt for one to leave out;
// sorted byte-wise by name. A missing folder lists nothing.
template <typename Describe>
std::vector<FolderEntry> ListEntries(std::string_view folder, Describe describe) {
  std::vector<FolderEntry> entries;
  std::optional<std::string> real = FindPath(folder.empty() ? "." : folder);
  if (!real) return entries;
  const std::string base = WithTrailingSeparator(*real);
  DIR* dir = ::opendir(base.c_str());
  if (dir == nullptr) return entries;
  while (const dirent* entry = ::readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::optional<FolderEntry> item = describe(base, *entry);
    if (item) entries.push_back(std::move(*item));
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return entries;
}

}  // namespace

std::vector<FolderEntry> ListFolder(std::string_view folder, std::string_view pattern) {
  return ListEntries(folder, [&](const std::string& base, const dirent& entry) -> std::optional<FolderEntry> {
    std::string name = entry.d_name;
    if (!MatchesWildcard(name, pattern)) return std::nullopt;
    struct stat info;
    if (!StatPath(base + name, &info)) return std::nullopt;
    FolderEntry item;
    item.name = std::move(name);
    item.isFolder = S_ISDIR(info.st_mode);
    item.readOnly = (info.st_mode & S_IWUSR) == 0;
    item.size = static_cast<uint64_t>(info.st_size);
    return item;
  });
}

std::vector<FolderEntry> ListFolderKinds(std::string_view folder) {
  return ListEntries(folder, [](const std::string& base, const dirent& entry) -> std::optional<FolderEntry> {
    FolderEntry item;
    item.name = entry.d_name;
    if (entry.d_type == DT_DIR || entry.d_type == DT_REG) {
      item.isFolder = entry.d_type == DT_DIR;
    } else if (entry.d_type == DT_UNKNOWN || entry.d_type == DT_LNK) {
      // The disk did not say, or a link, which counts as what it points to
      // (and not at all when it points nowhere), as in ListFolder.
      struct stat info;
      if (!StatPath(base + item.name, &info)) return std::nullopt;
      item.isFolder = S_ISDIR(info.st_mode);
    }
    return item;
  });
}

bool PathExists(std::string_view path) { return FindPath(path).has_value(); }

bool FileExists(std::string_view path) {
  std::optional<std::string> real = FindPath(path);
  struct stat info;
  return real && StatPath(*real, &info) && S_ISREG(info.st_mode);
}

bool FolderExists(std::string_view path) {
  std::optional<std::string> real = FindPath(path);
  struct stat info;
  return real && StatPath(*real, &info) && S_ISDIR(info.st_mode);
}

std::optional<uint64_t> FileSize(std::string_view path) {
  std::optional<std::string> real = FindPath(path);
  struct stat info;
  if (!real || !StatPath(*real, &info) || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(info.st_size);
}

std::optional<std::string> CanonicalFolder(std::string_view folder) {
  std::optional<std::string> found = FindPath(WithoutTrailingSeparators(folder));
  if (!found) return std::nullopt;
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(found->c_str(), nullptr), &std::free);
  if (!real) return std::nullopt;
  return WithTrailingSeparator(real.get());
}

std::optional<bool> FileSystem::IsFolderSpelledAs(std::string_view path) {
  if (FindPath(path) != std::string(path)) return std::nullopt;
  if (FolderExists(path)) return true;
  if (FileExists(path)) return false;
  return std::nullopt;
}

std::optional<bool> IsFolderSpelledAs(std::string_view path) {
  struct stat info;
  if (!StatPath(std::string(path), &info)) return std::nullopt;
  if (S_ISDIR(info.st_mode)) return true;
  if (S_ISREG(info.st_mode)) return false;
  return std::nullopt;
}

std::FILE* OpenFile(std::string_view path, const char* mode) {
  std::string real = ResolvePath(path);
  // Opening a named pipe for reading waits for a writer, and a device may
  // never end: only regular files are read.
  struct stat info;
  if (mode[0] == 'r' && (!StatPath(real, &info) || !S_ISREG(info.st_mode))) return nullptr;
  return std::fopen(real.c_str(), mode);
}

bool RenamePath(std::string_view from, std::string_view to) {
  std::optional<std::string> source = FindPath(from);
  if (!source) return false;
  std::optional<std::string> existing = FindPath(to);
  std::string target = existing ? *existing : NewEntryPath(to);
  std::string targetSpelled = WithoutTrailingSeparators(FolderPart(target) + FileNamePart(WithoutTrailingSeparators(to)));
  if (existing) {
    struct stat a, b;
    bool same = StatPath(*source, &a) && StatPath(*existing, &b) && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    if (!same) return false;
  }
  return std::rename(WithoutTrailingSeparators(*source).c_str(), targetSpelled.c_str()) == 0;
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  return RealFileSystem().CopyFile(from, to, failIfExists);
}

bool DeleteFile(std::string_view path) {
  std::optional<std::string> real = FindPath(path);
  return real && ::unlink(real->c_str()) == 0;
}

bool CreateFolder(std::string_view path) {
  // Whatever is there under any spelling, a folder or a file, is in the way.
  const std::string trimmed = WithoutTrailingSeparators(path);
  if (FindPath(trimmed)) return false;
  return ::mkdir(WithoutTrailingSeparators(NewEntryPath(trimmed)).c_str(), 0777) == 0;
}

bool RemoveFolder(std::string_view path) {
  std::optional<std::string> real = FindPath(path);
  return real && ::rmdir(WithoutTrailingSeparators(*real).c_str()) == 0;
}

std::string CreateUniqueFolder(std::string_view parent) {
  std::optional<std::string> real = FindPath(parent);
  if (!real) return "";
  std::string pattern = WithTrailingSeparator(*real) + "kestrel-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) return "";
  return pattern + '/';
}

bool IsReadOnly(std::string_view path) {
  std::optional<std::string> real = FindPath(path);
  struct stat info;
  return real && StatPath(*real, &info) && (info.st_mode & S_IWUSR) == 0;
}

bool IsSymbolicLink(std::string_view path) {
  std::optional<std::string> real = FindPath(path);
  struct stat info;
  return real && ::lstat(WithoutTrailingSeparators(*real).c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool ClearReadOnly(std::string_view path) {
  std::optional<std::string> real = FindPath(path);
  struct stat info;
  if (!real || !StatPath(*real, &info)) return false;
  return ::chmod(real->c_str(), info.st_mode | S_IWUSR) == 0;
}

std::string TempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return WithTrailingSeparator(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp");
}

std::string CurrentFolder() {
  std::error_code error;
  std::filesystem::path current = std::filesystem::current_path(error);
  return error ? std::string("./") : WithTrailingSeparator(current.string());
}

bool SetCurrentFolder(std::string_view path) {
  std::optional<std::string> real = FindPath(path);
  return real && ::chdir(real->c_str()) == 0;
}

std::string ProgramFolder() {
  char buffer[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (length <= 0) return CurrentFolder();
  return FolderPart(std::string_view(buffer, static_cast<size_t>(length)));
}

bool IsWritableFolder(std::string_view folder) {
  std::optional<std::string> real = FindPath(folder);
  return real && ::access(real->c_str(), W_OK | X_OK) == 0;
}

}  // namespace kestrel
