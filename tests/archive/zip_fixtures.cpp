#include "archive/zip_fixtures.h"

#include <zlib.h>

#include "archive/crc32.h"

namespace kestrel::testing {

std::string Text(size_t length, unsigned seed) {
  std::string text;
  for (uint32_t state = seed * 2654435761u + 1; text.size() < length; state = state * 1103515245u + 12345u)
    text += "ROM-" + std::to_string((state >> 16) % 97) + ";";
  return text.substr(0, length);
}

// A zlib stream less its two header bytes and four checksum bytes.
std::string RawDeflate(const std::string& data) {
  uLongf length = compressBound(uLong(data.size()));
  std::string output(length, '\0');
  compress2(reinterpret_cast<Bytef*>(output.data()), &length, reinterpret_cast<const Bytef*>(data.data()),
            uLong(data.size()), 6);
  return output.substr(2, length - 6);
}

MemberBytes Deflated(const std::string& name, const std::string& data) {
  MemberBytes member(name, RawDeflate(data));
  member.method = 8;
  member.crc = Crc32(0, data.data(), data.size());
  member.size = int64_t(data.size());
  return member;
}

void Put16(std::string& bytes, size_t offset, uint16_t value) {
  bytes[offset] = char(value & 0xFF);
  bytes[offset + 1] = char(value >> 8);
}

void Put32(std::string& bytes, size_t offset, uint32_t value) {
  Put16(bytes, offset, uint16_t(value & 0xFFFF));
  Put16(bytes, offset + 2, uint16_t(value >> 16));
}

std::string BuildZip(const std::vector<MemberBytes>& members) {
  std::string locals, centrals;
  for (const MemberBytes& member : members) {
    std::string local(30, '\0'), central(46, '\0');
    Put32(local, 0, 0x04034B50);
    Put16(local, 4, 20);
    Put16(local, 8, member.method);
    Put32(local, 14, member.crc != 0 ? member.crc : Crc32(0, member.data.data(), member.data.size()));
    Put32(local, 18, uint32_t(member.data.size()));
    Put32(local, 22, uint32_t(member.size >= 0 ? member.size : int64_t(member.data.size())));
    Put16(local, 26, uint16_t(member.name.size()));
    Put32(central, 0, 0x02014B50);
    central.replace(6, 24, local, 4, 24);
    Put32(central, 42, uint32_t(locals.size()));
    centrals += central + member.name;
    locals += local + member.name + member.data;
  }
  std::string end(22, '\0');
  Put32(end, 0, 0x06054B50);
  Put16(end, 8, uint16_t(members.size()));
  Put16(end, 10, uint16_t(members.size()));
  Put32(end, 12, uint32_t(centrals.size()));
  Put32(end, 16, uint32_t(locals.size()));
  return locals + centrals + end;
}

}  // namespace kestrel::testing
