// Generated files for benchmarks that write or read ROM images: contents
// that deflate about as well as real ones, and a plain whole-file write.
// Deterministic: the same seed always gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kestrel::bench {

// Bytes that deflate to roughly half, like many ROM images.
inline std::string RomLikeBytes(size_t length, uint32_t seed) {
  std::string bytes(length, '\0');
  uint32_t state = seed * 2654435761u + 12345u;
  for (size_t i = 0; i < length; ++i) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    bytes[i] = char((state & 0x0F) | ((i >> 9) & 0x30));
  }
  return bytes;
}

// Writes `bytes` as the whole file `path`; false when it cannot.
inline bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace kestrel::bench
