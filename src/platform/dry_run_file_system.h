// A run that changes nothing on disk and still goes all the way. A tool
// reads back what it writes (a rebuilt zip is read back before its sources
// go), so a dry run cannot just skip the writes: this file system performs
// every change in a private scratch folder (the bytes of new files) and in
// memory (what was deleted, renamed or made), and every read sees the disk
// as the run would have left it. The disk itself is only read.
//
// Each change is listed, in order, in a ChangeList: the changes the real
// run makes. A change is listed once it has succeeded; a failed one
// changes nothing and is not listed.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/change_list.h"
#include "platform/file_system.h"

namespace kestrel {

class DryRunFileSystem : public FileSystem {
 public:
  // The scratch folder is made inside `scratchParent` and removed, with
  // everything in it, when this goes.
  explicit DryRunFileSystem(const std::string& scratchParent = TempFolder());
  ~DryRunFileSystem() override;
  DryRunFileSystem(const DryRunFileSystem&) = delete;
  DryRunFileSystem& operator=(const DryRunFileSystem&) = delete;

  // The changes made so far, as a real run makes them.
  std::vector<FileChange> Changes();

  std::vector<FolderEntry> ListFolder(std::string_view folder, std::string_view pattern = "*") override;
  std::optional<std::string> FindPath(std::string_view path) override;
  std::string ResolvePath(std::string_view path) override;
  bool PathExists(std::string_view path) override;
  bool FileExists(std::string_view path) override;
  bool FolderExists(std::string_view path) override;
  std::optional<uint64_t> FileSize(std::string_view path) override;
  std::optional<timespec> FolderModificationTime(std::string_view folder) override;

  std::unique_ptr<ReadableFile> OpenForReading(std::string_view path) override;
  std::unique_ptr<WritableFile> CreateNewFile(std::string_view path) override;
  bool ReplacePath(std::string_view from, std::string_view to) override;
  bool RenamePath(std::string_view from, std::string_view to) override;
  bool DeleteFile(std::string_view path) override;
  bool CreateFolder(std::string_view path) override;
  bool RemoveFolder(std::string_view path) override;
  std::string CreateUniqueFolder(std::string_view parent) override;
  bool ClearReadOnly(std::string_view path) override;
  bool IsReadOnly(std::string_view path) override;
  bool IsSymbolicLink(std::string_view path) override;
  bool IsWritableFolder(std::string_view folder) override;
  std::optional<DiskSpace> QueryDiskSpace(std::string_view path) override;
  uint64_t ChangeCount() override { return changeCount_; }

 private:
  // What the run did at one path. Paths not named here are as on disk
  // (below a renamed folder: as on disk below where it came from).
  enum class NodeKind { kGone, kFile, kFolder };
  struct Node {
    NodeKind kind = NodeKind::kGone;
    // kFile: the file holding its bytes (on disk or in the scratch folder).
    // kFolder: the disk folder whose entries it shows; nullopt for a folder
    // the run made.
    std::optional<std::string> backing;
    bool madeWritable = false;  // ClearReadOnly was called on it
    uint64_t stamp = 0;  // the change count when its entries last changed (folders)
  };
  // An entry of the view: its path as spelled there (absolute, no trailing
  // '/', "" for the root) and where its bytes or entries are on disk.
  struct Place {
    std::string path;
    bool isFolder = false;
    std::optional<std::string> backing;
    const Node* node = nullptr;  // null when the entry is as on disk
  };

  std::optional<Place> Find(std::string_view path, bool exactOnly);
  std::optional<Place> Child(const Place& folder, const std::string& name);
  std::optional<Place> ChildWithoutCase(const Place& folder, const std::string& name);
  std::vector<FolderEntry> Entries(const Place& folder);
  const std::vector<std::string>& DiskNames(const std::string& folder);
  void Put(const std::string& path, Node node);
  Node NodeOf(const Place& place) const;
  void MoveEntry(const Place& from, const std::string& to);
  void ForgetScratchFile(const std::string& path);
  std::string Resolved(std::string_view path);

  std::mutex mutex_;
  std::string scratch_;  // ends with '/'; "" when it could not be made
  uint64_t scratchCount_ = 0;
  std::map<std::string, Node> nodes_;
  std::map<std::string, std::vector<std::string>> diskNames_;  // by disk folder, no trailing '/'
  ChangeList changes_;
  std::atomic<uint64_t> changeCount_{0};
};

}  // namespace kestrel
