#include "archive/crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "archive/zip_fixtures.h"

namespace kestrel {
namespace {

// Every start and split exercises the eight-byte steps and the byte-wise
// tail; zlib is the independent reference.
TEST(Crc32Test, MatchesTheZipChecksumInAnyPieces) {
  EXPECT_EQ(Crc32(0, "abc", 3), 0x352441C2u);
  EXPECT_EQ(Crc32(0x12345678, nullptr, 10), 0u);
  std::string text = testing::Text(300, 7) + std::string("\xff\x00\x80", 3);
  for (size_t start = 0; start < 8; ++start) {
    const char* data = text.data() + start;
    size_t length = text.size() - start;
    uint32_t whole = Crc32(0, data, length);
    ASSERT_EQ(whole, crc32(0, reinterpret_cast<const Bytef*>(data), uInt(length)));
    for (size_t split = 0; split <= length; split += 13)
      EXPECT_EQ(Crc32(Crc32(0, data, split), data + split, length - split), whole);
  }
}

}  // namespace
}  // namespace kestrel
