#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gamedb/list_values.h"

namespace kestrel {
namespace {

// Each value as a list writes it, read back as the tools will see it:
// "-" when no number is there.
std::string Decimal(const std::string& text) {
  int32_t value = 7;
  return ReadSignedDecimal(text, value) ? std::to_string(value) : "-";
}

std::string Hexadecimal(const std::string& text) {
  uint32_t value = 7;
  return ReadHexadecimal(text, value) ? std::to_string(value) : "-";
}

TEST(ListValuesTest, ReadsDecimalsAsTheListsWriteThem) {
  std::vector<std::string> read;
  for (const char* text : {" \t\v+12kb", "-34", "- 5", "+", "", "x9", "18446744073709551616", "-99999999999", "2147483648"})
    read.push_back(Decimal(text));
  EXPECT_EQ(read, (std::vector<std::string>{"12", "-34", "-", "-", "-", "-", "2147483647", "-2147483648",
                                            "2147483647"}));
}

TEST(ListValuesTest, ReadsHexadecimalsOfEitherCaseAndPrefix) {
  std::vector<std::string> read;
  for (const char* text : {"\n0xAbCdEf09", "0XFF", "0x", "0xg", "fF", "g1", "", "10000000000000000", "9Z"})
    read.push_back(Hexadecimal(text));
  EXPECT_EQ(read, (std::vector<std::string>{"2882400009", "255", "0", "0", "255", "-", "-", "4294967295", "9"}));
}

}  // namespace
}  // namespace kestrel
