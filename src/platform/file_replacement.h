// Writing a file so that it appears whole or not at all: the data go to a
// temporary file beside the destination, which replaces the destination
// only when everything was written. Until then an existing destination is
// untouched, and an abandoned temporary file is removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace kestrel {

class FileReplacement {
 public:
  explicit FileReplacement(FileSystem& fs = RealFileSystem()) : fs_(fs) {}
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Creates the temporary file for `destinationPath` (found without case).
  bool Create(const std::string& destinationPath);
  // False when the data could not all be written (typically a full disk).
  bool Write(const void* data, size_t length);
  // Closes the temporary file; false on a late write error. With
  // `syncToDisk` the data reach the disk first, so that a crash right after
  // the rename cannot leave an empty file in place of the old one.
  bool Close(bool syncToDisk = false);
  // Renames the closed temporary file over the destination.
  bool Commit();

 private:
  FileSystem& fs_;
  std::unique_ptr<WritableFile> file_;
  uint64_t written_ = 0;
  std::string destination_;
  std::string temporary_;
};

// Replaces the file at `path` (found without case) with `bytes`, all at once.
bool ReplaceFile(const std::string& path, std::string_view bytes, bool syncToDisk = false);
bool ReplaceFile(FileSystem& fs, const std::string& path, std::string_view bytes, bool syncToDisk = false);

}  // namespace kestrel
