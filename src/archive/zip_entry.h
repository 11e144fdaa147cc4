// One member of a zip archive as the reader lists it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

struct ZipEntry {
  std::string name;         // file name without folder part
  std::string storedName;   // name exactly as stored in the local header
  std::string archivePath;  // the zip's path as the caller gave it
  uint32_t crc = 0;
  uint32_t size = 0;
  uint32_t compressedSize = 0;
  uint32_t dataOffset = 0;    // first data byte behind the local header
  uint32_t headerOffset = 0;  // first byte of the local header
  // Position of the member's central header among all central headers
  // (folders counted), which is the index zip writing knows the member by;
  // -1 when no central header points at this local header.
  int centralIndex = -1;
  uint16_t method = 0;
  std::array<uint8_t, 30> localHeader{};
};

using ZipEntryList = std::vector<ZipEntry>;

}  // namespace kestrel
