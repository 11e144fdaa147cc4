// What a run changes on disk, as a user reads it: one line per change, in
// the order the changes are made. A tool writes a file under a temporary
// name and then moves it over its real name; the list shows that as one
// write of the real name, so that a dry run and the real run (whose
// temporary names differ) list the same changes.
//
// Both the undo journal and the dry run call it before each operation of
// a FileSystem that changes something, with the operation's arguments.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrel {

enum class ChangeKind {
  kCreate,        // a new file at `path`
  kReplace,       // `path` existed and was replaced by a whole new file
  kRename,        // the entry at `path` now lives at `target`
  kDelete,        // the file at `path` is gone
  kCreateFolder,  // a new folder at `path`
  kRemoveFolder,  // the empty folder at `path` is gone
};

struct FileChange {
  ChangeKind kind = ChangeKind::kCreate;
  std::string path;
  std::string target;  // kRename only: the new path
};

// One line: "create PATH", "replace PATH", "rename PATH -> TARGET",
// "delete PATH", "create folder PATH", "remove folder PATH".
std::string DescribeChange(const FileChange& change);

class ChangeList {
 public:
  void Created(std::string_view path);
  // `to` existed before the move (found without case) when `targetExisted`.
  void Replaced(std::string_view from, std::string_view to, bool targetExisted);
  void Renamed(std::string_view from, std::string_view to);
  void Deleted(std::string_view path);
  void FolderCreated(std::string_view path);
  void FolderRemoved(std::string_view path);

  // The changes so far, without the files that were created and then moved
  // or deleted in the same run: only what is left of them. A chain of
  // renames (by way of a temporary name) is one rename, or none when it
  // ends where it began.
  std::vector<FileChange> changes() const;

 private:
  // Extends the rename of the entry now at `from`, if any, to `to`.
  bool ContinueRename(std::string_view from, std::string_view to);

  std::vector<FileChange> changes_;  // a folded entry has an empty path
  // Files and folders created in this run and still at that path: their entry.
  std::unordered_map<std::string, size_t> createdAt_;
  std::unordered_map<std::string, size_t> folderCreatedAt_;
  // Entries renamed in this run, by where they are now: their rename.
  std::unordered_map<std::string, size_t> renamedTo_;
};

}  // namespace kestrel
