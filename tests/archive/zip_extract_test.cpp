#include <gtest/gtest.h>

#include "archive/zip_fixtures.h"
#include "support/faulty_file_system.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::WriteFile;

class ZipExtractTest : public testing::ZipTest {
 protected:
  void SetUp() override {
    WriteFile(folder / "set.zip",
              testing::BuildZip({{"stored.rom", "stored"}, testing::Deflated("deflated.rom", text)}));
    ASSERT_TRUE(ReadZipDirectory(RealFileSystem(), folder / "set.zip", list, true, nullptr));
  }

  std::string text = testing::Text(60000, 12);
  ZipEntryList list;
};

// Wrong checksums, sizes and offsets that do not describe the data, and an
// unknown method fail without a file, without reading past the member or a
// buffer of the claimed size; an existing destination is kept. A write that
// breaks off (a full disk) is said to.
TEST_F(ZipExtractTest, RefusesMembersThatDoNotCheckOut) {
  const ZipEntry stored = list[0], deflated = list[1];
  std::vector<ZipEntry> lies(7, stored);
  lies[0].crc ^= 1;
  lies[1].dataOffset = 0xFFFFFF00;
  lies[6].compressedSize += 1;  // a stored member whose two sizes disagree
  for (size_t i = 2; i < 6; ++i) lies[i] = deflated;
  lies[2].size -= 1;                       // the stream expands beyond the declared size
  lies[3].compressedSize = 0xFFFFFFFF;     // a claimed size far past the file
  lies[4].compressedSize -= 1;             // the stream is cut short
  lies[5].dataOffset = stored.dataOffset;  // no deflate stream at all
  WriteFile(folder / "old.rom", "old");
  for (size_t i = 0; i < lies.size(); ++i) {
    EXPECT_FALSE(ExtractZipEntry(RealFileSystem(), lies[i], folder / "old.rom")) << i;
    EXPECT_FALSE(ExtractZipEntry(RealFileSystem(), lies[i], folder / "new.rom")) << i;
  }
  int writeFailed = 0;
  testing::FaultyFileSystem fullDisk;
  fullDisk.FillDiskAfter(20000);
  EXPECT_FALSE(ExtractZipEntry(fullDisk, deflated, folder / "out.rom", &writeFailed));
  EXPECT_EQ(writeFailed, 1);
  EXPECT_EQ(ReadFile(folder / "old.rom"), "old");
  EXPECT_EQ(ListFolder(folder.path()).size(), 2u);
  EXPECT_TRUE(ExtractZipEntry(RealFileSystem(), deflated, folder / "OLD.ROM"));  // replaced, found without case
  EXPECT_EQ(ReadFile(folder / "old.rom"), text);

  // Only the unknown method is a problem of the zip to tell the user of.
  ZipEntry bzip2 = stored;
  bzip2.method = 12;
  ZipProblem problem;
  EXPECT_FALSE(ExtractZipEntry(RealFileSystem(), bzip2, folder / "new.rom", nullptr, &problem));
  EXPECT_EQ(Describe(problem), "method " + stored.archivePath);
  EXPECT_FALSE(CheckZipEntry(RealFileSystem(), lies[0], &problem));
  EXPECT_EQ(Describe(problem), "none ");
  EXPECT_FALSE(CheckZipEntry(RealFileSystem(), bzip2, &problem));
  EXPECT_TRUE(CheckZipEntry(RealFileSystem(), stored, &problem));
  EXPECT_EQ(Describe(problem), "none ");
}

// Loose files are read in pieces; every start, split and tail of the
// checksum agrees with zlib's. A member just longer than the decoder's
// output piece: all input is taken in while the last match still owes output.
TEST_F(ZipExtractTest, ReadsLooseFilesAndInflatesExactly) {
  std::string loose = testing::Text(600003, 13);  // several read chunks and a tail
  WriteFile(folder / "Game.rom", loose);
  auto zlibCrc = [](const char* data, size_t length) {
    return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data), uInt(length)));
  };
  uint32_t size = 7, crc = 7;
  EXPECT_TRUE(ReadFileCrc(RealFileSystem(), folder / "game.ROM", size, crc));
  EXPECT_EQ(size, loose.size());
  EXPECT_EQ(crc, zlibCrc(loose.data(), loose.size()));
  for (size_t start = 0; start < 8; ++start) {
    const char* data = loose.data() + start;
    EXPECT_EQ(Crc32(Crc32(0, data, 13), data + 13, 300), zlibCrc(data, 313)) << start;
  }
  std::string zeros(1024 * 1024 + 100, '\0');
  WriteFile(folder / "zeros.zip", testing::BuildZip({testing::Deflated("zeros.rom", zeros)}));
  EXPECT_TRUE(ReadBack(folder / "zeros.zip") == testing::Texts{"zeros.rom=" + zeros + "/8"});
}

}  // namespace
}  // namespace kestrel
