#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/byte_stream.h"

namespace kestrel {
namespace {

// Each UTF-8 length at both of its ends, a pair at the top of the range,
// and halves of pairs (alone, at the end, before another character), which
// become '?' without swallowing what follows.
TEST(Utf16TextTest, ConvertsAtEveryBoundaryAndMarksBrokenPairs) {
  std::string text;
  for (const std::vector<uint16_t>& units :
       std::vector<std::vector<uint16_t>>{{0x7F, 0x80}, {0xD7FF, 0xE000, 0xFFFF}, {0xDBFF, 0xDFFF}, {0xD800, 0xDC00},
                                          {0xDFFF, 'a'}, {0xDC00, 0xD800}, {0xD83D, 'b', 0xDBFF},
                                          {0xD800, 0xD800, 0xDC00}})
    text += Utf16ToUtf8(units) + "|";
  EXPECT_EQ(text,
            "\x7F\xC2\x80|\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF|\xF4\x8F\xBF\xBF|\xF0\x90\x80\x80|?a|??|?b?|"
            "?\xF0\x90\x80\x80|");
}

}  // namespace
}  // namespace kestrel
