#include <gtest/gtest.h>

#include <set>

#include "archive/zip_fixtures.h"
#include "archive/zip_library.h"

namespace kestrel {
namespace {

class CompressionLevelTest : public testing::ZipTest {};

// Each level character compresses as its digit, one that is no digit as
// '9'.
TEST_F(CompressionLevelTest, CompressesAtEachDigitAndOtherwiseAtNine) {
  testing::WriteFile(folder / "a.rom", testing::Text(60000, 5));
  std::vector<uint32_t> sizes;
  for (char level : {'1', '6', '8', '9', 'x'}) {
    ZipLibrary library{level};
    const std::string zip = folder / (std::string(1, level) + ".zip");
    ASSERT_TRUE(ZipAddFiles(RealFileSystem(), library, zip, {folder / "a.rom"}));
    ZipEntryList members;
    ASSERT_TRUE(ReadZipDirectory(RealFileSystem(), zip, members, true, nullptr));
    sizes.push_back(members[0].compressedSize);
  }
  // Sizes differ between zlib versions; which levels agree does not.
  EXPECT_EQ(std::set<uint32_t>(sizes.begin(), sizes.end()).size(), 4u);
  EXPECT_EQ(sizes[3], sizes[4]);
}

}  // namespace
}  // namespace kestrel
