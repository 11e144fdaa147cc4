#include "archive/zip_fixtures.h"

#include <unistd.h>

#include <zlib.h>

#include <cstdlib>

#include "archive/crc32.h"
#include "support/temp_folder.h"

namespace kestrel::testing {

bool HaveCommand(const std::string& name) {
  return RunCommand("command -v " + ShellQuote(name) + " > /dev/null 2>&1");
}

bool RunCommand(const std::string& commandLine) { return std::system(commandLine.c_str()) == 0; }

namespace {

// The system's interpreter starts several times faster than a version
// manager's wrapper script found first on the search path.
std::string PythonProgram() {
  return ::access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
}

}  // namespace

bool HavePython() { return HaveCommand(PythonProgram()); }

bool RunPython(const std::string& program) {
  TempFolder folder;
  WriteFile(folder / "fixture.py", program);
  return RunCommand(PythonProgram() + " " + ShellQuote(folder / "fixture.py"));
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string CompressibleText(size_t length, unsigned seed) {
  std::string text;
  text.reserve(length);
  uint32_t state = seed * 2654435761u + 1;
  while (text.size() < length) {
    state = state * 1103515245u + 12345u;
    text += "ROM-" + std::to_string((state >> 16) % 97) + ";";
  }
  text.resize(length);
  return text;
}

void Put16(std::string& bytes, size_t offset, uint16_t value) {
  bytes[offset] = char(value & 0xFF);
  bytes[offset + 1] = char(value >> 8);
}

void Put32(std::string& bytes, size_t offset, uint32_t value) {
  Put16(bytes, offset, uint16_t(value & 0xFFFF));
  Put16(bytes, offset + 2, uint16_t(value >> 16));
}

namespace {

std::string Header(size_t length, uint32_t signature) {
  std::string bytes(length, '\0');
  Put32(bytes, 0, signature);
  return bytes;
}

}  // namespace

std::string BuildZip(const std::vector<MemberBytes>& members, const std::string& comment) {
  std::string locals, centrals;
  for (const MemberBytes& member : members) {
    uint32_t crc = member.crc != 0 ? member.crc : Crc32(0, member.data.data(), member.data.size());
    std::string local = Header(30, kLocalSignature);
    Put16(local, 4, 20);
    Put16(local, 6, member.flags);
    Put16(local, 8, member.method);
    Put16(local, 10, 0x6000);
    Put16(local, 12, 0x5A21);
    Put32(local, 14, crc);
    Put32(local, 18, uint32_t(member.data.size()));
    Put32(local, 22, uint32_t(member.size >= 0 ? member.size : int64_t(member.data.size())));
    Put16(local, 26, uint16_t(member.name.size()));
    Put16(local, 28, uint16_t(member.extra.size()));
    std::string central = Header(46, kCentralSignature);
    Put16(central, 4, 20);
    central.replace(6, 24, local, 4, 24);
    Put32(central, 42, uint32_t(locals.size()));
    centrals += central + member.name;
    locals += local + member.name + member.extra + member.data;
  }
  std::string end = Header(22, kEndSignature);
  Put16(end, 8, uint16_t(members.size()));
  Put16(end, 10, uint16_t(members.size()));
  Put32(end, 12, uint32_t(centrals.size()));
  Put32(end, 16, uint32_t(locals.size()));
  Put16(end, 20, uint16_t(comment.size()));
  return locals + centrals + end + comment;
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

std::vector<size_t> FindSignatures(const std::string& bytes, uint32_t signature) {
  std::vector<size_t> offsets;
  for (size_t i = 0; i + 4 <= bytes.size(); ++i) {
    uint32_t value = uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8 | uint8_t(bytes[i + 2]) << 16 |
                     uint32_t(uint8_t(bytes[i + 3])) << 24;
    if (value == signature) offsets.push_back(i);
  }
  return offsets;
}

}  // namespace kestrel::testing
