#include <memory>
#include <new>

#include "archive/crc32.h"
#include "archive/input_file.h"
#include "archive/zip_reader.h"

namespace kestrel {
namespace {

// Loose files are read in pieces of this size, whatever their length.
constexpr size_t kChunk = 256 * 1024;

}  // namespace

bool ReadFileCrc(const std::string& path, uint32_t& size, uint32_t& crc) {
  size = 0;
  crc = 0;
  InputFile file;
  if (!file.Open(path)) return false;
  if (file.size() > UINT32_MAX) return false;
  size = static_cast<uint32_t>(file.size());
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kChunk]);
  if (!buffer) return false;
  uint32_t sum = 0;
  uint64_t offset = 0;
  while (offset < size) {
    size_t count = size - offset < kChunk ? static_cast<size_t>(size - offset) : kChunk;
    // A file that shrinks while it is read fails like a short read.
    if (file.ReadAt(offset, buffer.get(), count) != static_cast<long long>(count)) return false;
    sum = Crc32(sum, buffer.get(), count);
    offset += count;
  }
  crc = sum;
  return true;
}

}  // namespace kestrel
