// The CRC-32 of test data, and data made to have a given CRC-32.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "archive/crc32.h"

namespace kestrel::testing {

inline uint32_t CrcOf(const std::string& data) { return Crc32(0, data.data(), data.size()); }

namespace detail {

inline std::array<uint32_t, 256> CrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

}  // namespace detail

// `size` (at least 4) bytes whose CRC-32 is `crc`: the last four bytes are chosen so.
inline std::string DataWithCrc(size_t size, uint32_t crc, char fill = 'x') {
  static const std::array<uint32_t, 256> table = detail::CrcTable();
  std::string data(size - 4, fill);
  // The four table indices that lead to the wanted register depend on it
  // alone; walking forwards then gives the bytes that select them.
  uint32_t wanted = ~crc;
  std::array<uint8_t, 4> indices{};
  for (int k = 3; k >= 0; --k) {
    for (uint32_t j = 0; j < 256; ++j) {
      if ((table[j] >> 24) == (wanted >> 24)) {
        indices[k] = static_cast<uint8_t>(j);
        wanted = (wanted ^ table[j]) << 8;
        break;
      }
    }
  }
  uint32_t reg = ~CrcOf(data);
  for (int k = 0; k < 4; ++k) {
    data.push_back(static_cast<char>((reg ^ indices[k]) & 0xFF));
    reg = (reg >> 8) ^ table[indices[k]];
  }
  return data;
}

}  // namespace kestrel::testing
