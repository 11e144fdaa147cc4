// RAR archives (format 4, as RAR 2.9 to 4.x write them) of stored members,
// written byte by byte from RAR's published technical note: no free
// program writes RAR, yet collectors receive ROMs in it.
//
// Blocks: the marker, the archive header, one file header per member
// followed by its data (method 0x30, "storing"), and the end block. Each
// header starts with HEAD_CRC, the low 16 bits of the CRC-32 of the header
// from HEAD_TYPE on.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "archive/crc32.h"

namespace kestrel::testing {

namespace rar_format {

inline void PutLittle(std::string& bytes, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.push_back(char((value >> (8 * i)) & 0xFF));
}

// `body` (HEAD_TYPE onwards) behind its HEAD_CRC.
inline std::string Block(const std::string& body) {
  std::string block;
  PutLittle(block, Crc32(0, body.data(), body.size()) & 0xFFFF, 2);
  return block + body;
}

// HEAD_TYPE, HEAD_FLAGS and HEAD_SIZE of a header of `size` bytes in all.
inline std::string Start(uint8_t type, uint16_t flags, size_t size) {
  std::string start(1, char(type));
  PutLittle(start, flags, 2);
  PutLittle(start, uint32_t(size), 2);
  return start;
}

constexpr uint8_t kArchiveHeader = 0x73, kFileHeader = 0x74, kEndBlock = 0x7B;
constexpr uint16_t kLongBlock = 0x8000;   // PACK_SIZE follows the header
constexpr uint16_t kSkipIfUnknown = 0x4000;
constexpr uint8_t kHostWin32 = 2, kVersion29 = 29, kStoring = 0x30;
constexpr uint32_t kDosTime = (40u << 25) | (1u << 21) | (1u << 16);  // 2020-01-01 00:00
constexpr uint32_t kArchiveAttribute = 0x20;

}  // namespace rar_format

// A RAR of `members` (name, contents), stored. With `cutShort` it ends
// half-way through the last member's data, as a broken download does.
// (libarchive 3.6 does not hold a stored member against its CRC-32: data
// changed in place read as they are.)
inline std::string StoredRar(const std::vector<std::pair<std::string, std::string>>& members,
                             bool cutShort = false) {
  using namespace rar_format;
  std::string rar = "Rar!\x1A\x07";
  rar.push_back('\0');
  rar += Block(Start(kArchiveHeader, 0, 13) + std::string(6, '\0'));
  for (size_t i = 0; i < members.size(); ++i) {
    const auto& [name, data] = members[i];
    std::string header = Start(kFileHeader, kLongBlock, 32 + name.size());
    PutLittle(header, uint32_t(data.size()), 4);  // PACK_SIZE
    PutLittle(header, uint32_t(data.size()), 4);  // UNP_SIZE
    header.push_back(char(kHostWin32));
    PutLittle(header, Crc32(0, data.data(), data.size()), 4);
    PutLittle(header, kDosTime, 4);
    header.push_back(char(kVersion29));
    header.push_back(char(kStoring));
    PutLittle(header, uint32_t(name.size()), 2);
    PutLittle(header, kArchiveAttribute, 4);
    rar += Block(header + name) + data;
    if (cutShort && i + 1 == members.size()) return rar.substr(0, rar.size() - data.size() / 2);
  }
  rar += Block(Start(kEndBlock, kSkipIfUnknown, 7));
  return rar;
}

}  // namespace kestrel::testing
