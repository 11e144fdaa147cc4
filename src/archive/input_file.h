// A read-only file for the zip reader, read at explicit offsets.
//
// Listing an archive reads many small headers that lie close together; a
// small window buffer turns them into few system calls, and the file's tail,
// read once, holds the central directory (and the whole of a small zip), so
// listing a typical set zip costs one read. Reads never ask past the size
// the file had when opened: a request beyond the end costs a system call
// that only finds the end. Only regular files open, so a folder or a pipe
// named like a zip cannot block or confuse the reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kestrel {

class InputFile {
 public:
  // Opens the regular file `path`, found without case in `fs`.
  bool Open(FileSystem& fs, const std::string& path);
  uint64_t size() const { return size_; }

  // Reads the last `length` bytes of the file (all of it, when shorter) in
  // one read and keeps them for ReadAt. False on a read error.
  bool ReadTail(size_t length);

  // Reads up to `length` bytes at `offset`. Returns the number of bytes read,
  // fewer only at the end of the file, or -1 on a read error.
  long long ReadAt(uint64_t offset, void* buffer, size_t length);

  // Hands the `length` bytes at `offset` to `take` in pieces of at most
  // 256 KB, so a file of any size costs the same memory. False when the
  // file ends first, on a read error or as soon as `take` returns false.
  bool ReadChunks(uint64_t offset, uint64_t length,
                  const std::function<bool(const uint8_t*, size_t)>& take);

 private:
  bool FillWindow(uint64_t offset);
  // Copies the bytes at `offset` from the tail read before; -1 when the
  // range does not lie in it.
  long long CopyFromTail(uint64_t offset, uint8_t* out, size_t length) const;

  std::unique_ptr<ReadableFile> file_;
  uint64_t size_ = 0;
  std::vector<uint8_t> window_;
  uint64_t windowOffset_ = 0;
  size_t windowLength_ = 0;
  std::vector<uint8_t> tail_;  // the file's last bytes, up to its end; empty until ReadTail
  uint64_t tailOffset_ = 0;    // where tail_ starts in the file
};

}  // namespace kestrel
