// A FileSystem that passes every call to another one (the real disk by
// default) and fails the calls a test chooses: a full disk, a read error, a
// rename or removal that does not happen, a file that vanishes between
// listing and opening. The tools are handed it where they take a
// FileSystem, so a fault lands in the middle of a run without a hook in the
// code under test.
#pragma once

#include <cerrno>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace kestrel::testing {

enum class FileOperation {
  kLookUp,        // FindPath, PathExists, FileExists, FolderExists, FileSize: "not there"
  kList,          // ListFolder: lists nothing
  kOpen,          // OpenForReading
  kRead,          // a read of an open file: a read error
  kCreate,        // CreateNewFile
  kWrite,         // a write to a new file
  kSync,          // bringing a new file to the disk
  kReplace,       // ReplacePath, the commit of a file written whole
  kRename,        // RenamePath
  kDelete,        // DeleteFile
  kCreateFolder,  // CreateFolder, CreateUniqueFolder
  kRemoveFolder,  // RemoveFolder
  // In a Fault and CallsSeen: any change that commits or removes something
  // (kReplace, kRename, kDelete, kRemoveFolder), counted together.
  kAnyChange,
};

struct Fault {
  FileOperation operation = FileOperation::kWrite;
  // fnmatch(3) pattern over the path as the tool asked for it ('*' matches
  // '/' too); "*" for any path. For kReplace and kRename the source path.
  std::string pathPattern = "*";
  // The first matching call that fails, counting from 1.
  int nth = 1;
  // Whether every matching call after the nth fails too (a disk that is
  // gone), or only the nth (a passing fault).
  bool andAfter = true;
};

class FaultyFileSystem : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& inner = RealFileSystem()) : inner_(inner) {}

  void Fail(const Fault& fault);
  // A full disk: writes to files matching `pathPattern` (those on the
  // disk) fail with ENOSPC once `bytes` bytes were written to them in all
  // since this call; the commit of an unfinished file never comes.
  void FillDiskAfter(uint64_t bytes, const std::string& pathPattern = "*");
  // From now on the file system reports `space`, whatever the disk holds.
  void ReportDiskSpace(DiskSpace space);
  // The file vanishes: looking it up or opening it fails from now on,
  // while listings of its folder still show it.
  void Vanish(const std::string& pathPattern);
  // How many calls failed so far, and how many calls of one kind were made
  // on paths matching `pathPattern`, failed ones included.
  int FailuresSeen() const;
  int CallsSeen(FileOperation operation, const std::string& pathPattern = "*") const;

  // Answers whether this call is to fail, counting it.
  bool Fails(FileOperation operation, std::string_view path);
  // Answers whether `length` more bytes for `path` fit on the disk,
  // counting them.
  bool Fits(uint64_t length, const std::string& path);

  std::vector<FolderEntry> ListFolder(std::string_view folder, std::string_view pattern) override;
  std::optional<std::string> FindPath(std::string_view path) override;
  std::string ResolvePath(std::string_view path) override { return inner_.ResolvePath(path); }
  bool PathExists(std::string_view path) override;
  bool FileExists(std::string_view path) override;
  bool FolderExists(std::string_view path) override;
  std::optional<uint64_t> FileSize(std::string_view path) override;
  std::unique_ptr<ReadableFile> OpenForReading(std::string_view path) override;
  std::unique_ptr<WritableFile> CreateNewFile(std::string_view path) override;
  bool ReplacePath(std::string_view from, std::string_view to) override;
  bool RenamePath(std::string_view from, std::string_view to) override;
  bool DeleteFile(std::string_view path) override;
  bool CreateFolder(std::string_view path) override;
  bool RemoveFolder(std::string_view path) override;
  std::string CreateUniqueFolder(std::string_view parent) override;
  uint64_t ChangeCount() override { return inner_.ChangeCount(); }
  std::optional<ChangedPaths> ChangedPathsSince(uint64_t after) override { return inner_.ChangedPathsSince(after); }
  bool ClearReadOnly(std::string_view path) override { return inner_.ClearReadOnly(path); }
  bool IsReadOnly(std::string_view path) override { return inner_.IsReadOnly(path); }
  bool IsSymbolicLink(std::string_view path) override { return inner_.IsSymbolicLink(path); }
  bool IsWritableFolder(std::string_view folder) override { return inner_.IsWritableFolder(folder); }
  std::optional<DiskSpace> QueryDiskSpace(std::string_view path) override;

 private:
  struct ArmedFault {
    Fault fault;
    int matchingCalls = 0;
  };

  FileSystem& inner_;
  // The tools write several archives at once: every count is taken under
  // this lock.
  mutable std::mutex mutex_;
  std::vector<ArmedFault> faults_;
  std::vector<std::pair<FileOperation, std::string>> calls_;
  int failures_ = 0;
  bool diskLimited_ = false;
  uint64_t bytesLeft_ = 0;
  std::string diskPattern_;
  std::optional<DiskSpace> reportedSpace_;
};

}  // namespace kestrel::testing
