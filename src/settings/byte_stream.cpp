#include "settings/byte_stream.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kestrel {
namespace {

constexpr uint8_t kLongLength = 0xFF;
constexpr uint16_t kUtf16Marker = 0xFFFE;
constexpr uint16_t kLongerLength = 0xFFFF;

void AppendUtf8(std::string& text, uint32_t code) {
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xC0 | (code >> 6));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    text += static_cast<char>(0xE0 | (code >> 12));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (code >> 18));
    text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsHighSurrogate(uint16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

bool ByteReader::ReadRaw(void* output, uint64_t count) {
  if (count > remaining_) return false;
  auto* target = static_cast<unsigned char*>(output);
  while (count > 0) {
    if (bufferStart_ == bufferEnd_) {
      bufferStart_ = 0;
      bufferEnd_ = std::fread(buffer_, 1, sizeof buffer_, file_);
      if (bufferEnd_ == 0) return false;  // shorter than it said, or a read error
    }
    size_t chunk = std::min<uint64_t>(count, bufferEnd_ - bufferStart_);
    std::memcpy(target, buffer_ + bufferStart_, chunk);
    bufferStart_ += chunk;
    target += chunk;
    count -= chunk;
    remaining_ -= chunk;
  }
  return true;
}

bool ByteReader::ReadByte(uint8_t& value) { return ReadRaw(&value, 1); }

bool ByteReader::ReadUint16(uint16_t& value) {
  unsigned char raw[2];
  if (!ReadRaw(raw, 2)) return false;
  value = static_cast<uint16_t>(raw[0] | (raw[1] << 8));
  return true;
}

bool ByteReader::ReadUint32(uint32_t& value) {
  unsigned char raw[4];
  if (!ReadRaw(raw, 4)) return false;
  value = static_cast<uint32_t>(raw[0]) | (static_cast<uint32_t>(raw[1]) << 8) |
          (static_cast<uint32_t>(raw[2]) << 16) | (static_cast<uint32_t>(raw[3]) << 24);
  return true;
}

bool ByteReader::ReadInt(int32_t& value) {
  uint32_t raw;
  if (!ReadUint32(raw)) return false;
  value = static_cast<int32_t>(raw);
  return true;
}

bool ByteReader::ReadFlag(bool& value) {
  int32_t raw;
  if (!ReadInt(raw)) return false;
  value = raw != 0;
  return true;
}

bool ByteReader::ReadBytes(std::vector<uint8_t>& bytes, uint64_t count) {
  if (count > remaining_) return false;
  bytes.resize(count);
  return ReadRaw(bytes.data(), count);
}

bool ByteReader::ReadLength(uint64_t& length, bool& utf16) {
  uint8_t first;
  if (!ReadByte(first)) return false;
  if (first != kLongLength) {
    length = first;
    return true;
  }
  uint16_t middle;
  if (!ReadUint16(middle)) return false;
  if (middle == kUtf16Marker) {
    // The real length follows in the same form; a second marker is damage.
    if (utf16) return false;
    utf16 = true;
    return ReadLength(length, utf16);
  }
  if (middle != kLongerLength) {
    length = middle;
    return true;
  }
  uint32_t full;
  if (!ReadUint32(full)) return false;
  length = full;
  return true;
}

bool ByteReader::ReadString(std::string& text) {
  uint64_t length = 0;
  bool utf16 = false;
  if (!ReadLength(length, utf16)) return false;
  if (!utf16) {
    if (length > remaining_) return false;
    text.resize(length);
    return ReadRaw(text.data(), length);
  }
  if (length > remaining_ / 2) return false;
  std::vector<uint16_t> units(length);
  for (uint16_t& unit : units) {
    if (!ReadUint16(unit)) return false;
  }
  text = Utf16ToUtf8(units);
  return true;
}

void ByteWriter::WriteUint16(uint16_t value) {
  WriteByte(static_cast<uint8_t>(value));
  WriteByte(static_cast<uint8_t>(value >> 8));
}

void ByteWriter::WriteUint32(uint32_t value) {
  WriteUint16(static_cast<uint16_t>(value));
  WriteUint16(static_cast<uint16_t>(value >> 16));
}

void ByteWriter::WriteInt(int32_t value) { WriteUint32(static_cast<uint32_t>(value)); }

void ByteWriter::WriteString(const std::string& text) {
  // A profile string can hold at most 4 GB; longer text is cut there.
  uint64_t length = std::min<uint64_t>(text.size(), std::numeric_limits<uint32_t>::max());
  if (length < kLongLength) {
    WriteByte(static_cast<uint8_t>(length));
  } else {
    WriteByte(kLongLength);
    if (length < kUtf16Marker) {
      WriteUint16(static_cast<uint16_t>(length));
    } else {
      WriteUint16(kLongerLength);
      WriteUint32(static_cast<uint32_t>(length));
    }
  }
  bytes_.append(text, 0, length);
}

void ByteWriter::WriteBytes(const std::vector<uint8_t>& bytes) {
  bytes_.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::string Utf16ToUtf8(const std::vector<uint16_t>& units) {
  std::string text;
  text.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    uint16_t unit = units[i];
    if (IsHighSurrogate(unit) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      uint32_t code = 0x10000 + ((static_cast<uint32_t>(unit - 0xD800) << 10) | (units[i + 1] - 0xDC00));
      AppendUtf8(text, code);
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      text += '?';
    } else {
      AppendUtf8(text, unit);
    }
  }
  return text;
}

}  // namespace kestrel
