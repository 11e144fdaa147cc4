// The little-endian byte streams of the profile file: 32-bit integers,
// bytes, and strings with a length of one, three or seven bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kestrel {

// Reads a file through a 4096-byte buffer. Every read fails once the file
// would end inside it, and so does a length longer than the bytes left, so a
// damaged file can never make it allocate more than the file holds.
class ByteReader {
 public:
  // `file` stays owned by the caller; `size` is its length in bytes.
  ByteReader(std::FILE* file, uint64_t size) : file_(file), remaining_(size) {}

  bool ReadByte(uint8_t& value);
  bool ReadInt(int32_t& value);
  bool ReadFlag(bool& value);
  bool ReadBytes(std::vector<uint8_t>& bytes, uint64_t count);
  // A string stored as 16-bit units (marker FF FE FF) comes back as UTF-8.
  bool ReadString(std::string& text);
  uint64_t remaining() const { return remaining_; }

 private:
  bool ReadRaw(void* output, uint64_t count);
  bool ReadUint16(uint16_t& value);
  bool ReadUint32(uint32_t& value);
  // Reads a length; `utf16` tells whether the marker came first.
  bool ReadLength(uint64_t& length, bool& utf16);

  std::FILE* file_;
  uint64_t remaining_;
  unsigned char buffer_[4096];
  size_t bufferStart_ = 0;
  size_t bufferEnd_ = 0;
};

// Collects the bytes of a file in memory.
class ByteWriter {
 public:
  void WriteByte(uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
  void WriteInt(int32_t value);
  void WriteFlag(bool value) { WriteInt(value ? 1 : 0); }
  void WriteString(const std::string& text);
  void WriteBytes(const std::vector<uint8_t>& bytes);
  const std::string& bytes() const { return bytes_; }

 private:
  void WriteUint16(uint16_t value);
  void WriteUint32(uint32_t value);
  std::string bytes_;
};

// The UTF-8 form of 16-bit units; a unit that is half of a broken pair
// becomes '?'.
std::string Utf16ToUtf8(const std::vector<uint16_t>& units);

}  // namespace kestrel
