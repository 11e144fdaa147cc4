#include "report/utf8_text.h"

#include <cstdint>

namespace kestrel {
namespace {

// The length of the valid UTF-8 sequence at `at`; 0 when none starts there.
// Overlong forms, surrogates and code points past U+10FFFF are not valid.
size_t ValidSequenceLength(std::string_view bytes, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  const uint8_t lead = byte(at);
  if (lead < 0x80) return 1;
  size_t length = 0;
  uint32_t low = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, low = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, low = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, low = 0x10000;
  else return 0;
  if (at + length > bytes.size()) return 0;
  uint32_t code = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  if (code < low || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string Utf8FromBytes(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (size_t at = 0; at < bytes.size();) {
    const size_t length = ValidSequenceLength(bytes, at);
    if (length > 0) {
      text.append(bytes.substr(at, length));
      at += length;
      continue;
    }
    const uint8_t latin1 = static_cast<uint8_t>(bytes[at++]);
    text += static_cast<char>(0xC0 | (latin1 >> 6));
    text += static_cast<char>(0x80 | (latin1 & 0x3F));
  }
  return text;
}

}  // namespace kestrel
