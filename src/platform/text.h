// Byte-string helpers. Texts are 8-bit; "without case" lowers ASCII letters
// only, so names compare the same way on every machine.
#pragma once

#include <string>
#include <string_view>

namespace kestrel {

char LowerAscii(char c);
std::string ToLowerAscii(std::string_view text);
// Byte-wise comparison of both texts lowered: <0, 0, >0.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Whether `text` ends with `suffix` without case and is longer than it: a
// name with nothing before its extension has none.
bool HasSuffixNoCase(std::string_view text, std::string_view suffix);

// The value of a hexadecimal digit (either case); -1 for any other byte.
int HexDigitValue(char c);
// Strict "less" without case, for sorts and binary searches.
struct LessNoCase {
  bool operator()(std::string_view a, std::string_view b) const { return CompareNoCase(a, b) < 0; }
};

}  // namespace kestrel
