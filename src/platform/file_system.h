// The file system as the rest of the program expects it: names are found
// without regard to letter case (an entry whose name matches exactly is
// preferred), as on the system the collections come from. Paths use '/'.
//
// The free functions are the disk itself, for the program's own files and
// the dialogs. The tools reach the disk through a FileSystem (below) they
// are given, so that tests can make it fail.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/disk_space.h"
#include "platform/recent_changes.h"

namespace kestrel {

struct FolderEntry {
  std::string name;  // as the file system spells it
  bool isFolder = false;
  bool readOnly = false;
  uint64_t size = 0;
};

// Entries of `folder` whose names match `pattern` ("*.*", "*", "?", "pac*"),
// without "." and "..", sorted byte-wise by name. A missing folder lists
// nothing. The folder itself is found without case.
std::vector<FolderEntry> ListFolder(std::string_view folder, std::string_view pattern = "*");
// ListFolder's entries with their names and kinds only (size and readOnly
// left unset): the disk tells most entries' kind while listing, so a folder
// of thousands of sets costs no `stat` per entry.
std::vector<FolderEntry> ListFolderKinds(std::string_view folder);

// The existing path that equals `path` without case, component by component,
// spelled as the file system spells it; an exact match is preferred at every
// step. nullopt when nothing matches.
std::optional<std::string> FindPath(std::string_view path);
// FindPath, or `path` itself when nothing matches (for creating new files).
std::string ResolvePath(std::string_view path);
// The folder `folder` (found without case) with every link in it followed:
// the one name two spellings of a folder share; nullopt when it is missing.
std::optional<std::string> CanonicalFolder(std::string_view folder);
// As FileSystem::IsFolderSpelledAs, on the disk: one `stat`.
std::optional<bool> IsFolderSpelledAs(std::string_view path);

bool PathExists(std::string_view path);
bool FileExists(std::string_view path);
bool FolderExists(std::string_view path);
std::optional<uint64_t> FileSize(std::string_view path);

// Opens a file with fopen's `mode`. The name is found without case, so
// writing to "A.ROM" replaces an existing "a.rom" rather than adding a twin.
// Reading opens regular files only (never a pipe or a device).
std::FILE* OpenFile(std::string_view path, const char* mode);

// Closes the file when it goes out of scope.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Renames `from` (found without case) to `to`. Fails when `to` names another
// existing entry (without case), as the rename of the original system does;
// renaming an entry to another spelling of its own name works.
bool RenamePath(std::string_view from, std::string_view to);
// Copies a file (found without case); the copy appears whole or not at all,
// replacing an existing target only once written. With `failIfExists` an
// existing target is left alone.
bool CopyFile(std::string_view from, std::string_view to, bool failIfExists);
bool DeleteFile(std::string_view path);
bool CreateFolder(std::string_view path);
// Removes an empty folder.
bool RemoveFolder(std::string_view path);
// Creates a new, empty folder of a unique name inside `parent`; returns it
// with a trailing '/', or "" on failure. Files made there cannot collide
// with the user's.
std::string CreateUniqueFolder(std::string_view parent);
// Makes the file writable for its owner.
bool ClearReadOnly(std::string_view path);
bool IsReadOnly(std::string_view path);
// True for a symbolic link itself (found without case), whatever it points
// to: walking a tree to delete or copy it must not follow one out of it.
bool IsSymbolicLink(std::string_view path);

// The file operations the tools (scanner repairs, rebuilder, merger) and the
// archive code they call make, all in one place: a run is handed one
// FileSystem and reaches the disk only through it, so a test can hand it
// one that fails any operation (a full disk, a read error, a file that
// vanishes) where the real disk cannot be made to. Each operation behaves
// as the free function of the same name above; RealFileSystem() is those.
// The rebuilder writes several archives at once, so every implementation
// answers calls from any thread.

// A regular file open for reading at explicit offsets.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  // The length and the modification time (seconds since 1970) when the
  // file was opened.
  virtual uint64_t Size() const = 0;
  virtual int64_t ModificationTime() const = 0;
  // Reads up to `length` bytes at `offset`: the number read, fewer only at
  // the end of the file, or -1 on a read error.
  virtual long long ReadAt(uint64_t offset, void* buffer, size_t length) = 0;
};

// A new file being written; destroying it closes it and keeps what it holds.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  // Writes all `length` bytes at `offset`; false when they could not all be
  // written (typically a full disk).
  virtual bool WriteAt(uint64_t offset, const void* data, size_t length) = 0;
  // Brings what was written to the disk, so that a crash after a rename
  // cannot leave an empty file in place of the old one.
  virtual bool Sync() = 0;
  // False on a late write error; the file is closed either way.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual std::vector<FolderEntry> ListFolder(std::string_view folder, std::string_view pattern = "*") = 0;
  // As the free ListFolderKinds; by default the whole ListFolder.
  virtual std::vector<FolderEntry> ListFolderKinds(std::string_view folder) { return ListFolder(folder); }
  virtual std::optional<std::string> FindPath(std::string_view path) = 0;
  // Whether an entry spelled exactly `path` is there, and whether it is a
  // folder (links followed): nullopt when none is. Unlike FindPath, a miss
  // costs no listing of the folder. By default made of FindPath.
  virtual std::optional<bool> IsFolderSpelledAs(std::string_view path);
  virtual std::string ResolvePath(std::string_view path) = 0;
  virtual bool PathExists(std::string_view path) = 0;
  virtual bool FileExists(std::string_view path) = 0;
  virtual bool FolderExists(std::string_view path) = 0;
  virtual std::optional<uint64_t> FileSize(std::string_view path) = 0;
  // When the entries of `folder` (found without case) last changed, as a
  // folder index compares it; nothing when it is no folder. The disk's
  // modification time unless a file system keeps changes of its own.
  virtual std::optional<timespec> FolderModificationTime(std::string_view folder);

  // Opens the regular file `path` (found without case); null when it is
  // missing, no regular file or cannot be opened.
  virtual std::unique_ptr<ReadableFile> OpenForReading(std::string_view path) = 0;
  // Creates the file `path`, exactly as spelled, for writing; null when it
  // exists already (errno EEXIST) or cannot be made (errno says why).
  virtual std::unique_ptr<WritableFile> CreateNewFile(std::string_view path) = 0;
  // Renames the file `from` over `to`, both exactly as spelled, replacing
  // `to` at once: the last step of writing a file whole.
  virtual bool ReplacePath(std::string_view from, std::string_view to) = 0;

  virtual bool RenamePath(std::string_view from, std::string_view to) = 0;
  // As the free CopyFile, made of the operations above: `to` appears whole
  // or not at all, and a copy fails where reading or writing fails or the
  // source ends early. With `syncToDisk` the copy reaches the disk before it
  // takes its name, as before the original of a move is removed.
  bool CopyFile(std::string_view from, std::string_view to, bool failIfExists, bool syncToDisk = false);
  virtual bool DeleteFile(std::string_view path) = 0;
  virtual bool CreateFolder(std::string_view path) = 0;
  virtual bool RemoveFolder(std::string_view path) = 0;
  virtual std::string CreateUniqueFolder(std::string_view parent) = 0;
  virtual bool ClearReadOnly(std::string_view path) = 0;
  virtual bool IsReadOnly(std::string_view path) = 0;
  virtual bool IsSymbolicLink(std::string_view path) = 0;
  virtual bool IsWritableFolder(std::string_view folder) = 0;
  // How full the file system holding `path` is; nothing when it cannot be
  // asked.
  virtual std::optional<DiskSpace> QueryDiskSpace(std::string_view path) = 0;
  // How many changes (a file created, replaced, renamed or deleted, a folder
  // made or removed) went through this file system so far. A folder listing
  // taken since the last one still holds every name the program wrote.
  virtual uint64_t ChangeCount() = 0;
  // The paths changed after change `after`, where this file system still
  // knows them all; by default it does not, and a listing is taken anew.
  virtual std::optional<ChangedPaths> ChangedPathsSince(uint64_t /*after*/) { return std::nullopt; }
};

// The disk itself; stateless, shared by every run that is given no other.
FileSystem& RealFileSystem();

// Folders, each with a trailing '/'.
std::string TempFolder();
std::string CurrentFolder();
bool SetCurrentFolder(std::string_view path);
// The folder of the running program.
std::string ProgramFolder();
// True when a file can be created in `folder`.
bool IsWritableFolder(std::string_view folder);

}  // namespace kestrel
