#include "undo/undo_store.h"

#include <sys/stat.h>
#include <unistd.h>

namespace kestrel {

bool EntryExists(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

bool IsLink(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool SaveContent(FileSystem& fs, const std::string& path, const std::string& member,
                 const std::optional<ContentIdentity>& identity) {
  // A hard link of a symbolic link keeps the link itself, not what it points to.
  if (::link(path.c_str(), member.c_str()) == 0) return true;
  if (!identity || EntryExists(member)) return false;
  return fs.CopyFile(path, member, true) && IdentifyFile(fs, member) == identity;
}

bool MoveContent(FileSystem& fs, const std::string& from, const std::string& to,
                 const std::optional<ContentIdentity>& identity) {
  if (EntryExists(to)) return false;
  if (fs.ReplacePath(from, to)) return true;
  if (!identity || !fs.CopyFile(from, to, true)) return false;
  if (IdentifyFile(fs, to) == identity) return fs.DeleteFile(from);
  fs.DeleteFile(to);  // a copy that came out wrong, never the content itself
  return false;
}

}  // namespace kestrel
