// Strings as profiles store them: every length form, 16-bit text, and the
// damage a file can show (a length past its end, a second 16-bit marker).

#include <cstdio>
#include <memory>

#include <gtest/gtest.h>

#include "settings/byte_stream.h"

namespace kestrel {
namespace {

// The string read from `bytes` (a file claiming `extra` more bytes than it
// has), or "<damaged>".
std::string ReadFrom(std::string bytes, uint64_t extra = 0) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(fmemopen(bytes.data(), bytes.size(), "rb"), std::fclose);
  ByteReader in(file.get(), bytes.size() + extra);
  std::string text;
  return in.ReadString(text) ? text : "<damaged>";
}

TEST(ProfileStringsTest, ReadsEveryLengthFormAndRefusesDamage) {
  using namespace std::string_literals;
  const std::string ab300 = std::string(150, 'a') + std::string(150, 'b');
  EXPECT_EQ(ReadFrom("\x02xy"), "xy");
  EXPECT_EQ(ReadFrom("\xFF\x2C\x01"s + ab300), ab300);
  EXPECT_EQ(ReadFrom("\xFF\xFF\xFF\x02\x00\x00\x00xy"s), "xy");
  EXPECT_EQ(ReadFrom("\xFF\xFE\xFF\x02" "A\0\xE9\0"s), "A\xC3\xA9");
  EXPECT_EQ(ReadFrom("\xFF\xFE\xFF\xFF\xFE\xFF\x01" "A\0"s), "<damaged>");  // two markers
  EXPECT_EQ(ReadFrom("\xFF\xFE\xFF\x02" "A\0"s), "<damaged>");              // units past the end
  EXPECT_EQ(ReadFrom("\xFF\xFE\xFF\x02" "A\0"s, 2), "<damaged>");           // file shorter than it said
  EXPECT_EQ(ReadFrom("\x03xy"s, 1), "<damaged>");
  EXPECT_EQ(ReadFrom("\x03xy"s), "<damaged>");
  EXPECT_EQ(ReadFrom("\xFF\x02"s), "<damaged>");
  EXPECT_EQ(ReadFrom("\xFF\xFF\xFF\x02\x00"s), "<damaged>");
}

TEST(ProfileStringsTest, JoinsSurrogatePairsAndMarksBrokenHalves) {
  const std::pair<std::vector<uint16_t>, std::string> cases[] = {
      {{0xD7FF, 0xE000}, "\xED\x9F\xBF\xEE\x80\x80"},  // just outside the surrogates
      {{0xD800, 0xDC00}, "\xF0\x90\x80\x80"},
      {{0xDBFF, 0xDFFF}, "\xF4\x8F\xBF\xBF"},
      {{0xDC00, 0xD800}, "??"},  // reversed pair
      {{0xDFFF, 0x41, 0xDBFF}, "?A?"},
      {{0xD800, 0xD800, 0xDC00}, "?\xF0\x90\x80\x80"},
  };
  for (const auto& [units, text] : cases) EXPECT_EQ(Utf16ToUtf8(units), text) << units[0];
}

}  // namespace
}  // namespace kestrel
