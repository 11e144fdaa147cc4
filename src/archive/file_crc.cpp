#include "archive/crc32.h"
#include "archive/input_file.h"
#include "archive/zip_reader.h"

namespace kestrel {

bool ReadFileCrc(FileSystem& fs, const std::string& path, uint32_t& size, uint32_t& crc) {
  size = 0;
  crc = 0;
  InputFile file;
  if (!file.Open(fs, path)) return false;
  if (file.size() > UINT32_MAX) return false;
  size = static_cast<uint32_t>(file.size());
  uint32_t sum = 0;
  // A file that shrinks while it is read fails like a short read.
  auto add = [&sum](const uint8_t* data, size_t count) {
    sum = Crc32(sum, data, count);
    return true;
  };
  if (!file.ReadChunks(0, size, add)) return false;
  crc = sum;
  return true;
}

}  // namespace kestrel
