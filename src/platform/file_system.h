// The file system as the rest of the program expects it: names are found
// without regard to letter case (an entry whose name matches exactly is
// preferred), as on the system the collections come from. Paths use '/'.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The existing path that equals `path` without case, component by component,
// spelled as the file system spells it; an exact match is preferred at every
// step. nullopt when nothing matches.
std::optional<std::string> FindPath(std::string_view path);
// FindPath, or `path` itself when nothing matches (for creating new files).
std::string ResolvePath(std::string_view path);

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

// Folders, each with a trailing '/'.
std::string TempFolder();
std::string CurrentFolder();
bool SetCurrentFolder(std::string_view path);
// The folder of the running program.
std::string ProgramFolder();
// True when a file can be created in `folder`.
bool IsWritableFolder(std::string_view folder);

}  // namespace kestrel
