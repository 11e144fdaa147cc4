// Zips of stored members written byte by byte, for what zip programs will
// not make: two members of one name, a directory in another order than the
// members lie in.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/crc_data.h"

namespace kestrel::testing {

namespace detail {

inline void PutLittleEndian(std::string& bytes, size_t offset, uint32_t value, int length) {
  for (int i = 0; i < length; ++i) bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}

}  // namespace detail

// Members as (stored name, contents), in the order they lie; with
// `reverseDirectory` the central directory lists them last first.
inline std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& members,
                             bool reverseDirectory = false) {
  std::string locals;
  std::vector<std::string> centrals;
  for (const auto& [name, data] : members) {
    std::string local(30, '\0'), central(46, '\0');
    detail::PutLittleEndian(local, 0, 0x04034B50, 4);
    detail::PutLittleEndian(local, 4, 20, 2);
    detail::PutLittleEndian(local, 14, CrcOf(data), 4);
    detail::PutLittleEndian(local, 18, uint32_t(data.size()), 4);
    detail::PutLittleEndian(local, 22, uint32_t(data.size()), 4);
    detail::PutLittleEndian(local, 26, uint32_t(name.size()), 2);
    detail::PutLittleEndian(central, 0, 0x02014B50, 4);
    central.replace(6, 24, local, 4, 24);
    detail::PutLittleEndian(central, 42, uint32_t(locals.size()), 4);
    centrals.push_back(central + name);
    locals += local + name + data;
  }
  if (reverseDirectory) std::reverse(centrals.begin(), centrals.end());
  std::string directory;
  for (const std::string& central : centrals) directory += central;
  std::string end(22, '\0');
  detail::PutLittleEndian(end, 0, 0x06054B50, 4);
  detail::PutLittleEndian(end, 8, uint32_t(members.size()), 2);
  detail::PutLittleEndian(end, 10, uint32_t(members.size()), 2);
  detail::PutLittleEndian(end, 12, uint32_t(directory.size()), 4);
  detail::PutLittleEndian(end, 16, uint32_t(locals.size()), 4);
  return locals + directory + end;
}

}  // namespace kestrel::testing
