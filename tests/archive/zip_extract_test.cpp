#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "app/user_interface.h"
#include "archive/crc32.h"
#include "archive/zip_fixtures.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::WriteFile;

class ZipExtractTest : public testing::ZipTest {
 protected:
  void SetUp() override {
    ZipTest::SetUp();
    WriteFile(folder / "set.zip",
              testing::BuildZip({{"stored.rom", "stored"}, testing::Deflated("deflated.rom", text)}));
    ASSERT_TRUE(ReadZipDirectory(folder / "set.zip", list, true, true));
  }

  // No temporary file may be left behind.
  size_t FilesInFolder() { return ListFolder(folder.path()).size(); }

  std::string text = testing::Text(60000, 12);
  ZipEntryList list;
};

// Wrong checksums, sizes and offsets that do not describe the data, and an
// unknown method fail without a file, without reading past the member or a
// buffer of the claimed size; an existing destination is kept.
TEST_F(ZipExtractTest, RefusesMembersThatDoNotCheckOut) {
  const ZipEntry stored = list[0], deflated = list[1];
  std::vector<ZipEntry> lies(11, stored);
  lies[0].crc ^= 1;
  lies[1].compressedSize += 1;  // stored sizes that differ
  lies[2].size -= 1;
  lies[3].compressedSize = 0xFFFFFFFF;
  lies[4].dataOffset = 0xFFFFFF00;
  for (size_t i = 5; i < lies.size(); ++i) lies[i] = deflated;
  lies[5].crc ^= 1;
  lies[6].size -= 1;  // the stream expands beyond the declared size
  lies[7].size += 1;
  lies[8].compressedSize += 1;              // a byte left over behind the stream
  lies[9].compressedSize -= 1;              // the stream is cut short
  lies[10].dataOffset = stored.dataOffset;  // no deflate stream at all
  WriteFile(folder / "old.rom", "old");
  for (size_t i = 0; i < lies.size(); ++i) {
    EXPECT_FALSE(ExtractZipEntry(lies[i], folder / "old.rom")) << i;
    EXPECT_FALSE(ExtractZipEntry(lies[i], folder / "new.rom")) << i;
  }
  EXPECT_EQ(ReadFile(folder / "old.rom"), "old");
  EXPECT_EQ(FilesInFolder(), 2u);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(ExtractZipEntry(deflated, folder / "OLD.ROM"));  // replaced, found without case
  EXPECT_EQ(ReadFile(folder / "old.rom"), text);

  std::string bytes = ReadFile(folder / "set.zip");
  testing::Put16(bytes, testing::FindAll(bytes, std::string("PK\3\4"))[0] + 8, 6);
  testing::Put16(bytes, testing::FindAll(bytes, std::string("PK\1\2"))[0] + 10, 6);
  WriteFile(folder / "m6.zip", bytes);
  Switches().advancedZipScanner = true;
  ASSERT_TRUE(ReadZipDirectory(folder / "m6.zip", list, true, false));
  EXPECT_FALSE(ExtractZipEntry(list[0], folder / "new.rom"));
  EXPECT_EQ(ui.MessageTexts(),
            std::vector<std::string>{"Unsupported Compressionmethod In File:\n\n" + folder / "m6.zip"});
  EXPECT_EQ(FilesInFolder(), 3u);
}

TEST_F(ZipExtractTest, ReportsAWriteThatBreaksOff) {
  int writeFailed = 0;
  EXPECT_FALSE(ExtractZipEntry(list[1], folder / "missing/out.rom", &writeFailed));
  EXPECT_EQ(writeFailed, 0);  // nothing could be created: no full disk
  // A file size limit makes the disk look full part-way.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved, small;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  small = saved;
  small.rlim_cur = 20000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool extracted = ExtractZipEntry(list[1], folder / "out.rom", &writeFailed);
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(extracted);
  EXPECT_EQ(writeFailed, 1);
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(ZipExtractTest, ReadsLooseFilesAndInflatesExactly) {
  std::string loose = testing::Text(600000, 13);  // several read chunks
  WriteFile(folder / "Game.rom", loose);
  uint32_t size = 7, crc = 7;
  EXPECT_TRUE(ReadFileCrc(folder / "game.ROM", size, crc));
  EXPECT_EQ(size, loose.size());
  EXPECT_EQ(crc, Crc32(0, loose.data(), loose.size()));
  EXPECT_FALSE(ReadFileCrc(folder / "missing.rom", size, crc));
  EXPECT_EQ(size + crc, 0u);
  EXPECT_FALSE(ReadFileCrc(folder.path(), size, crc));

  // A member just longer than the decoder's output piece: all input is
  // taken in while the last match still owes output.
  std::string zeros(1024 * 1024 + 100, '\0');
  WriteFile(folder / "zeros.zip", testing::BuildZip({testing::Deflated("zeros.rom", zeros)}));
  ASSERT_TRUE(ReadZipDirectory(folder / "zeros.zip", list, true, true));
  EXPECT_TRUE(ExtractZipEntry(list[0], folder / "zeros.rom"));
  EXPECT_TRUE(ReadFile(folder / "zeros.rom") == zeros);
  std::string emptyStream = testing::RawDeflate("");
  EXPECT_EQ(
      InflateBuffer(reinterpret_cast<const uint8_t*>(emptyStream.data()), emptyStream.size(), nullptr, 0), 0);
}

}  // namespace
}  // namespace kestrel
