#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text.h"

namespace kestrel {
namespace {

// Names of an 8-bit code page ("café" in Latin-1) equal themselves in any
// ASCII case and sort after every ASCII name, byte by byte; a shorter name
// sorts before the longer one it begins.
TEST(EightBitNameOrderTest, ComparesHighBytesAsUnsigned) {
  std::vector<std::string> names = {"caf\xE9", "CAFE", "z", "Caf", "caf\xE9s", "\xC9t\xE9"};
  std::sort(names.begin(), names.end(), LessNoCase());
  EXPECT_EQ(names, (std::vector<std::string>{"Caf", "CAFE", "caf\xE9", "caf\xE9s", "z", "\xC9t\xE9"}));
  EXPECT_TRUE(EqualsNoCase("caf\xE9", "CAF\xE9") && !EqualsNoCase("caf\xE9", "caf\xC9"));
}

}  // namespace
}  // namespace kestrel
