// Zips written byte by byte, for what zip programs will not make: two
// members of one name, a directory in another order than the members lie
// in, headers that do not tell the truth about the data.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/crc_data.h"

namespace kestrel::testing {

// `width` bytes of `value`, low byte first, at `offset`.
inline void Put(std::string& bytes, size_t offset, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}

// A member as it lies in the zip; the header fields tell the truth about
// `data` unless a test sets them.
struct MemberBytes {
  MemberBytes(std::string memberName, std::string memberData)
      : name(std::move(memberName)), data(std::move(memberData)) {}
  std::string name, data;
  uint16_t method = 0;
  uint32_t crc = 0;   // of `data` when 0
  int64_t size = -1;  // length of `data` when -1
};

// The members in the order they lie; with `reverseDirectory` the central
// directory lists them last first.
inline std::string BuildZip(const std::vector<MemberBytes>& members, bool reverseDirectory = false) {
  std::string locals, end(22, '\0');
  std::vector<std::string> centrals;
  for (const MemberBytes& member : members) {
    std::string local(30, '\0'), central(46, '\0');
    Put(local, 0, 0x04034B50, 4);
    Put(local, 4, 20, 2);
    Put(local, 8, member.method, 2);
    Put(local, 14, member.crc != 0 ? member.crc : CrcOf(member.data), 4);
    Put(local, 18, uint32_t(member.data.size()), 4);
    Put(local, 22, uint32_t(member.size >= 0 ? member.size : int64_t(member.data.size())), 4);
    Put(local, 26, uint16_t(member.name.size()), 2);
    Put(central, 0, 0x02014B50, 4);
    central.replace(6, 24, local, 4, 24);
    Put(central, 42, uint32_t(locals.size()), 4);
    centrals.push_back(central + member.name);
    locals += local + member.name + member.data;
  }
  if (reverseDirectory) std::reverse(centrals.begin(), centrals.end());
  std::string directory;
  for (const std::string& central : centrals) directory += central;
  Put(end, 0, 0x06054B50, 4);
  Put(end, 8, uint32_t(members.size() * 0x10001), 4);  // entries on this disk and in all
  Put(end, 12, uint32_t(directory.size()), 4);
  Put(end, 16, uint32_t(locals.size()), 4);
  return locals + directory + end;
}

// Stored members as (name, contents), twins allowed.
inline std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& members) {
  std::vector<MemberBytes> bytes;
  for (const auto& [name, data] : members) bytes.emplace_back(name, data);
  return BuildZip(bytes);
}

}  // namespace kestrel::testing
