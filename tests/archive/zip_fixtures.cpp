#include "archive/zip_fixtures.h"

#include <zlib.h>

#include <cstdlib>

#include "archive/crc32.h"

namespace kestrel::testing {

bool Run(const std::string& commandLine) { return std::system(commandLine.c_str()) == 0; }

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool HaveZip() { return Run("command -v zip > /dev/null"); }

std::string Text(size_t length, unsigned seed) {
  std::string text;
  for (uint32_t state = seed * 2654435761u + 1; text.size() < length;) {
    state = state * 1103515245u + 12345u;
    text += "ROM-" + std::to_string((state >> 16) % 97) + ";";
  }
  text.resize(length);
  return text;
}

std::string RawDeflate(const std::string& data) {
  z_stream stream{};
  deflateInit2(&stream, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string output(deflateBound(&stream, uLong(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = uInt(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(output.data());
  stream.avail_out = uInt(output.size());
  deflate(&stream, Z_FINISH);
  output.resize(stream.total_out);
  deflateEnd(&stream);
  return output;
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

std::vector<size_t> FindAll(const std::string& bytes, const std::string& pattern) {
  std::vector<size_t> offsets;
  for (size_t at = bytes.find(pattern); at != std::string::npos; at = bytes.find(pattern, at + 1))
    offsets.push_back(at);
  return offsets;
}

}  // namespace kestrel::testing
