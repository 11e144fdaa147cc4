// Building zip archives for the tests: with the programs people use (Info-ZIP
// zip, Python's zipfile), so the reader is checked against archives it did not
// write itself, and byte by byte, for the damaged ones.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kestrel::testing {

bool HaveCommand(const std::string& name);
// Runs a shell command line; true when it exits with 0.
bool RunCommand(const std::string& commandLine);
bool HavePython();
// Runs a Python 3 program given as text.
bool RunPython(const std::string& program);

// Quotes a text for the shell.
std::string ShellQuote(const std::string& text);

// Text of `length` bytes that deflate shrinks, different for every seed.
std::string CompressibleText(size_t length, unsigned seed);

// One member of a hand-made archive. Header fields default to the truth
// about `data`; tests then break what they need.
struct MemberBytes {
  MemberBytes(std::string memberName, std::string memberData)
      : name(std::move(memberName)), data(std::move(memberData)) {}
  std::string name;
  std::string data;           // stored as given
  uint16_t method = 0;
  uint16_t flags = 0;
  uint32_t crc = 0;           // computed from `data` when 0
  int64_t size = -1;          // uncompressed size; the length of `data` when -1
  std::string extra;
};

// `data` as a raw DEFLATE stream.
std::string RawDeflate(const std::string& data);

// A complete archive, central directory and end record included.
std::string BuildZip(const std::vector<MemberBytes>& members, const std::string& comment = "");

void Put16(std::string& bytes, size_t offset, uint16_t value);
void Put32(std::string& bytes, size_t offset, uint32_t value);
// Offsets of every occurrence of a 4-byte signature.
std::vector<size_t> FindSignatures(const std::string& bytes, uint32_t signature);

constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kEndSignature = 0x06054B50;

}  // namespace kestrel::testing
