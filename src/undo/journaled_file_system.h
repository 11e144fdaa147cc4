// A FileSystem that journals every change before it hands it to the disk
// below: a file about to be replaced or deleted is first saved in the
// run's store, then the journal line is written and synced, then the
// change is made. Undo (undo_run.h) replays the journal backwards.
//
// The run's folder, UNDO/RUN-ID/ with its `journal` and `store/`, is made
// at the first change, so a run that changes nothing leaves none. A change
// whose old content cannot be saved, or whose line cannot be written, is
// not made: the operation fails as a full disk would make it fail.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "platform/file_system.h"
#include "undo/journal.h"

namespace kestrel {

class JournaledFileSystem : public FileSystem {
 public:
  // Journals the changes made through it into a new run folder of
  // `undoFolder` (made when missing), naming `command` as the run's cause.
  JournaledFileSystem(FileSystem& disk, std::string undoFolder, std::string command);

  // Marks the run as having reached its end, and removes its folder when
  // its changes cancel out; true when there was nothing to mark or the
  // mark was written.
  bool Finish();
  // The run's folder, with a trailing '/'; "" while nothing was changed.
  std::string RunFolder();

  std::vector<FolderEntry> ListFolder(std::string_view folder, std::string_view pattern) override {
    return disk_.ListFolder(folder, pattern);
  }
  std::vector<FolderEntry> ListFolderKinds(std::string_view folder) override { return disk_.ListFolderKinds(folder); }
  std::optional<bool> IsFolderSpelledAs(std::string_view path) override { return disk_.IsFolderSpelledAs(path); }
  std::optional<std::string> FindPath(std::string_view path) override { return disk_.FindPath(path); }
  std::string ResolvePath(std::string_view path) override { return disk_.ResolvePath(path); }
  bool PathExists(std::string_view path) override { return disk_.PathExists(path); }
  bool FileExists(std::string_view path) override { return disk_.FileExists(path); }
  bool FolderExists(std::string_view path) override { return disk_.FolderExists(path); }
  std::optional<uint64_t> FileSize(std::string_view path) override { return disk_.FileSize(path); }
  std::unique_ptr<ReadableFile> OpenForReading(std::string_view path) override { return disk_.OpenForReading(path); }

  std::unique_ptr<WritableFile> CreateNewFile(std::string_view path) override;
  bool ReplacePath(std::string_view from, std::string_view to) override;
  bool RenamePath(std::string_view from, std::string_view to) override;
  bool DeleteFile(std::string_view path) override;
  bool CreateFolder(std::string_view path) override;
  bool RemoveFolder(std::string_view path) override;
  std::string CreateUniqueFolder(std::string_view parent) override;
  bool ClearReadOnly(std::string_view path) override;

  bool IsReadOnly(std::string_view path) override { return disk_.IsReadOnly(path); }
  bool IsSymbolicLink(std::string_view path) override { return disk_.IsSymbolicLink(path); }
  bool IsWritableFolder(std::string_view folder) override { return disk_.IsWritableFolder(folder); }
  std::optional<DiskSpace> QueryDiskSpace(std::string_view path) override { return disk_.QueryDiskSpace(path); }
  uint64_t ChangeCount() override { return disk_.ChangeCount(); }
  std::optional<ChangedPaths> ChangedPathsSince(uint64_t after) override { return disk_.ChangedPathsSince(after); }

 private:
  // Saves the content of the existing file `path` in the store and fills
  // in the entry's old content; false when it cannot be saved whole.
  bool SaveOldContent(const std::string& path, JournalEntry& entry);
  // Writes the entry's line, making the run's folder first when needed.
  bool Record(const JournalEntry& entry);
  bool OpenRun();

  FileSystem& disk_;
  std::string undoFolder_;
  std::string command_;
  std::mutex mutex_;  // the rebuilder changes files from several threads
  std::string runFolder_;
  JournalWriter journal_;
  bool broken_ = false;  // the run's folder or journal could not be made
  std::atomic<uint64_t> saved_{0};
};

// The folder of the undo journals in the data folder `dataFolder`.
std::string UndoFolder(const std::string& dataFolder);

}  // namespace kestrel
