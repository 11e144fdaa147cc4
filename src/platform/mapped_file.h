// A regular file's contents seen as memory, read-only, without reading it
// all in: the system brings in the pages that are touched. For searches
// over files of any size at the cost of address space only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrel {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps the regular file `path` (found without case). False when it
  // cannot be opened or mapped; an empty file maps to size 0.
  bool Open(const std::string& path);
  void Close();
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
};

}  // namespace kestrel
