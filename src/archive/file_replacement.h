// Writing a file so that it appears whole or not at all: the data go to a
// temporary file beside the destination, which replaces the destination
// only when everything was written. Until then an existing destination is
// untouched, and an abandoned temporary file is removed.
#pragma once

#include <cstddef>
#include <string>

namespace kestrel {

class FileReplacement {
 public:
  FileReplacement() = default;
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Creates the temporary file for `destinationPath` (found without case).
  bool Create(const std::string& destinationPath);
  // False when the data could not all be written (typically a full disk).
  bool Write(const void* data, size_t length);
  // Flushes and closes the temporary file; false on a late write error.
  bool Close();
  // Renames the closed temporary file over the destination.
  bool Commit();

 private:
  int fd_ = -1;
  std::string destination_;
  std::string temporary_;
};

}  // namespace kestrel
