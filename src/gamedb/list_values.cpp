#include "gamedb/list_values.h"

#include <algorithm>
#include <limits>

#include "platform/text.h"

namespace kestrel {
namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

size_t SkipSpace(const std::string& text) {
  size_t at = 0;
  while (at < text.size() && IsSpace(text[at])) ++at;
  return at;
}

}  // namespace

// Numbers are read as strtol and strtoul would (a "0x" prefix included);
// values beyond 32 bits are clamped rather than wrapped.
bool ReadSignedDecimal(const std::string& text, int32_t& value) {
  size_t at = SkipSpace(text);
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  if (at >= text.size() || text[at] < '0' || text[at] > '9') return false;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t number = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    if (number <= kLimit) number = number * 10 + (text[at] - '0');
  }
  if (negative) number = -number;
  if (number > std::numeric_limits<int32_t>::max()) number = std::numeric_limits<int32_t>::max();
  if (number < std::numeric_limits<int32_t>::min()) number = std::numeric_limits<int32_t>::min();
  value = static_cast<int32_t>(number);
  return true;
}

bool ReadRomSize(const std::string& text, int32_t& value) {
  const size_t at = SkipSpace(text);
  if (text.compare(at, 2, "0x") != 0 && text.compare(at, 2, "0X") != 0) return ReadSignedDecimal(text, value);
  uint32_t number = 0;
  if (!ReadHexadecimal(text, number)) return false;
  value = static_cast<int32_t>(std::min<uint32_t>(number, std::numeric_limits<int32_t>::max()));
  return true;
}

bool ReadHexadecimal(const std::string& text, uint32_t& value) {
  size_t at = SkipSpace(text);
  // "0x1234" as some listings write it; a lone "0x" is the number 0.
  if (at + 2 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X') &&
      HexDigitValue(text[at + 2]) >= 0) {
    at += 2;
  }
  if (at >= text.size() || HexDigitValue(text[at]) < 0) return false;
  uint64_t number = 0;
  for (; at < text.size() && HexDigitValue(text[at]) >= 0; ++at) {
    if (number <= 0xFFFFFFFFu) number = number * 16 + HexDigitValue(text[at]);
  }
  value = number > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(number);
  return true;
}

void TrimTrailingBlanks(std::string& text) {
  size_t end = text.size();
  while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  text.resize(end);
}

DumpStatus ReadDumpStatus(const std::string& text) {
  if (text == "nodump") return DumpStatus::kNoDump;
  if (text == "baddump") return DumpStatus::kBadDump;
  return DumpStatus::kGood;
}

}  // namespace kestrel
