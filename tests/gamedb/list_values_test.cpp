#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gamedb/list_values.h"

namespace kestrel {
namespace {

// Each value as a list may write it, read back as the tools will see it:
// "-" when no number is there. Values beyond 32 bits (even beyond 64) are
// clamped.
TEST(ListValuesTest, ReadsNumbersAsTheListsWriteThem) {
  std::vector<std::string> decimals, hexadecimals;
  for (const char* text : {" \t\v+12kb", "-34", "- 5", "+", "", "x9", "18446744073709551616", "-99999999999"}) {
    int32_t value = 7;
    decimals.push_back(ReadSignedDecimal(text, value) ? std::to_string(value) : "-");
  }
  for (const char* text : {"\n0xAbCdEf09", "0XFF", "0x", "0xg", "fF", "g1", "", "10000000000000000", "9Z"}) {
    uint32_t value = 7;
    hexadecimals.push_back(ReadHexadecimal(text, value) ? std::to_string(value) : "-");
  }
  EXPECT_EQ(decimals, (std::vector<std::string>{"12", "-34", "-", "-", "-", "-", "2147483647", "-2147483648"}));
  EXPECT_EQ(hexadecimals,
            (std::vector<std::string>{"2882400009", "255", "0", "0", "255", "-", "-", "4294967295", "9"}));
}

}  // namespace
}  // namespace kestrel
