#include "archive/crc32.h"

#include <array>

namespace kestrel {
namespace {

using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

// Table k holds the CRC of a byte followed by k zero bytes, so eight bytes
// can be folded in with eight independent look-ups (slicing-by-8). Built at
// compile time: no start-up cost and no mutable state.
constexpr CrcTables MakeCrcTables() {
  CrcTables tables{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t crc = i;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    tables[0][i] = crc;
  }
  for (uint32_t i = 0; i < 256; ++i) {
    for (int k = 1; k < 8; ++k) {
      uint32_t previous = tables[k - 1][i];
      tables[k][i] = (previous >> 8) ^ tables[0][previous & 0xFF];
    }
  }
  return tables;
}

constexpr CrcTables kTables = MakeCrcTables();

uint32_t LoadLittleEndian32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

uint32_t Crc32(uint32_t crc, const void* buffer, size_t length) {
  if (buffer == nullptr) return 0;
  const uint8_t* p = static_cast<const uint8_t*>(buffer);
  crc = ~crc;
  while (length >= 8) {
    uint32_t low = LoadLittleEndian32(p) ^ crc;
    uint32_t high = LoadLittleEndian32(p + 4);
    // Grouped so that only the look-ups of `low` wait for the previous
    // step; the others overlap with it.
    uint32_t fromHigh = (kTables[3][high & 0xFF] ^ kTables[2][(high >> 8) & 0xFF]) ^
                        (kTables[1][(high >> 16) & 0xFF] ^ kTables[0][high >> 24]);
    uint32_t fromLow = (kTables[7][low & 0xFF] ^ kTables[6][(low >> 8) & 0xFF]) ^
                       (kTables[5][(low >> 16) & 0xFF] ^ kTables[4][low >> 24]);
    crc = fromLow ^ fromHigh;
    p += 8;
    length -= 8;
  }
  while (length-- > 0) crc = (crc >> 8) ^ kTables[0][(crc ^ *p++) & 0xFF];
  return ~crc;
}

}  // namespace kestrel
