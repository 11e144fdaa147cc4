#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>
#include <vector>

#include "archive/crc32.h"
#include "archive/zip_fixtures.h"
#include "archive/zip_reader.h"
#include "archive/zip_test_environment.h"
#include "platform/file_system.h"

namespace kestrel {
namespace {

using testing::BuildZip;
using testing::MemberBytes;
using testing::ReadFile;
using testing::WriteFile;

class ZipExtractTest : public testing::ZipTest {
 protected:
  // An archive of one stored and one deflated member, made here.
  ZipEntryList MakeArchive() {
    MemberBytes deflated("deflated.rom", testing::RawDeflate(deflatedText));
    deflated.method = 8;
    deflated.crc = Crc32(0, deflatedText.data(), deflatedText.size());
    deflated.size = int64_t(deflatedText.size());
    zip = folder / "set.zip";
    WriteFile(zip, BuildZip({MemberBytes("stored.rom", storedText), deflated}));
    ZipEntryList list;
    EXPECT_TRUE(ReadZipDirectory(zip, list, true, true));
    EXPECT_EQ(list.size(), 2u);
    return list;
  }

  // Only the given names in the test folder: no temporary file left behind.
  void ExpectFolderHolds(std::vector<std::string> names) {
    std::vector<std::string> found;
    for (const FolderEntry& entry : ListFolder(folder.path())) found.push_back(entry.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(found, names);
  }

  std::string storedText = testing::CompressibleText(3000, 11);
  std::string deflatedText = testing::CompressibleText(60000, 12);
  std::string zip;
};

TEST_F(ZipExtractTest, ExtractsMembersOfAPythonArchive) {
  if (!testing::HavePython()) GTEST_SKIP() << "python3 missing";
  WriteFile(folder / "a.bin", storedText);
  WriteFile(folder / "b.bin", deflatedText);
  ASSERT_TRUE(testing::RunPython("import zipfile\nf = '" + folder.path() + "'\n"
                                 "with zipfile.ZipFile(f + 'py.zip', 'w') as z:\n"
                                 "  z.write(f + 'a.bin', 'x/a.rom', zipfile.ZIP_STORED)\n"
                                 "  z.write(f + 'b.bin', 'b.rom', zipfile.ZIP_DEFLATED, 1)\n"));
  ZipEntryList list;
  ASSERT_TRUE(ReadZipDirectory(folder / "py.zip", list, true, true));
  ASSERT_EQ(list.size(), 2u);
  WriteFile(folder / "out/a.rom", "an older file");
  int writeFailed = 0;
  EXPECT_TRUE(ExtractZipEntry(list[0], folder / "out/A.ROM", &writeFailed));  // replaced without case
  EXPECT_TRUE(ExtractZipEntry(list[1], folder / "out/b.rom", &writeFailed));
  EXPECT_EQ(ReadFile(folder / "out/a.rom"), storedText);
  EXPECT_EQ(ReadFile(folder / "out/b.rom"), deflatedText);
  EXPECT_EQ(ListFolder(folder / "out").size(), 2u);
  EXPECT_EQ(writeFailed, 0);
}

TEST_F(ZipExtractTest, FailedChecksLeaveTheDestinationAlone) {
  ZipEntryList list = MakeArchive();
  WriteFile(folder / "old.rom", "old");
  for (ZipEntry entry : list) {
    entry.crc ^= 1;
    EXPECT_FALSE(ExtractZipEntry(entry, folder / "old.rom"));
    EXPECT_FALSE(ExtractZipEntry(entry, folder / "new.rom"));
  }
  EXPECT_EQ(ReadFile(folder / "old.rom"), "old");
  ExpectFolderHolds({"set.zip", "old.rom"});
  EXPECT_TRUE(ui.messages.empty());
}

// Sizes and offsets that do not describe the data: each must fail without
// reading beyond the member, without a file, and without a large buffer.
TEST_F(ZipExtractTest, RefusesMembersThatLieAboutTheirData) {
  ZipEntryList list = MakeArchive();
  const ZipEntry stored = list[0], deflated = list[1];
  std::vector<ZipEntry> lies(9, stored);
  lies[0].compressedSize += 1;  // stored sizes that differ
  lies[1].size -= 1;
  lies[2].compressedSize = 0xFFFFFFFF;
  lies[3].dataOffset = 0xFFFFFF00;
  lies[4] = deflated;
  lies[4].size -= 1;  // the stream expands beyond the declared size
  lies[5] = deflated;
  lies[5].size += 1;
  lies[6] = deflated;
  lies[6].compressedSize += 1;  // a byte left over behind the stream
  lies[7] = deflated;
  lies[7].compressedSize -= 1;  // the stream is cut short
  lies[8] = deflated;
  lies[8].dataOffset = stored.dataOffset;  // no deflate stream at all
  for (size_t i = 0; i < lies.size(); ++i) EXPECT_FALSE(ExtractZipEntry(lies[i], folder / "out.rom")) << i;
  ExpectFolderHolds({"set.zip"});
  EXPECT_TRUE(ExtractZipEntry(deflated, folder / "out.rom"));
}

TEST_F(ZipExtractTest, ShowsAnUnsupportedMethod) {
  std::string bytes = BuildZip({MemberBytes("a.rom", "data")});
  for (size_t at : testing::FindSignatures(bytes, testing::kLocalSignature)) testing::Put16(bytes, at + 8, 6);
  for (size_t at : testing::FindSignatures(bytes, testing::kCentralSignature)) testing::Put16(bytes, at + 10, 6);
  WriteFile(folder / "m6.zip", bytes);
  Switches().advancedZipScanner = true;
  ZipEntryList list;
  ASSERT_TRUE(ReadZipDirectory(folder / "m6.zip", list, true, false));
  EXPECT_FALSE(ExtractZipEntry(list[0], folder / "a.rom"));
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Unsupported Compressionmethod In File:\n\n" + folder / "m6.zip"});
  EXPECT_FALSE(FileExists(folder / "a.rom"));
}

TEST_F(ZipExtractTest, ReportsAWriteThatBreaksOff) {
  ZipEntryList list = MakeArchive();
  int writeFailed = 0;
  EXPECT_FALSE(ExtractZipEntry(list[1], folder / "missing/out.rom", &writeFailed));
  EXPECT_EQ(writeFailed, 0);  // nothing could be created: no full disk

  // A file size limit makes the disk look full part-way.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 20000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool extracted = ExtractZipEntry(list[1], folder / "out.rom", &writeFailed);
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(extracted);
  EXPECT_EQ(writeFailed, 1);
  ExpectFolderHolds({"set.zip"});
}

TEST_F(ZipExtractTest, ReadsTheCrcOfLooseFiles) {
  WriteFile(folder / "Game.rom", deflatedText);
  WriteFile(folder / "empty.rom", "");
  uint32_t size = 7, crc = 7;
  EXPECT_TRUE(ReadFileCrc(folder / "game.ROM", size, crc));
  EXPECT_EQ(size, deflatedText.size());
  EXPECT_EQ(crc, Crc32(0, deflatedText.data(), deflatedText.size()));
  EXPECT_TRUE(ReadFileCrc(folder / "empty.rom", size, crc));
  EXPECT_EQ(size + crc, 0u);
  size = crc = 7;
  EXPECT_FALSE(ReadFileCrc(folder / "missing.rom", size, crc));
  EXPECT_EQ(size + crc, 0u);
  EXPECT_FALSE(ReadFileCrc(folder.path(), size, crc));
}

TEST_F(ZipExtractTest, InflatesExactlyTheExpectedLength) {
  std::string stream = testing::RawDeflate(deflatedText);
  auto inflate = [&](const std::string& input, size_t outputLength) {
    std::vector<uint8_t> output(outputLength + 1, 0xEE);
    int result = InflateBuffer(reinterpret_cast<const uint8_t*>(input.data()), input.size(), output.data(), outputLength);
    EXPECT_EQ(output[outputLength], 0xEE);  // never a byte beyond
    if (result == 0) {
      EXPECT_EQ(std::string(output.begin(), output.end() - 1), deflatedText);
    }
    return result;
  };
  EXPECT_EQ(inflate(stream, deflatedText.size()), 0);
  EXPECT_EQ(inflate(stream, deflatedText.size() - 1), -1);
  EXPECT_EQ(inflate(stream, deflatedText.size() + 1), -1);
  EXPECT_EQ(inflate(stream + "x", deflatedText.size()), -1);
  EXPECT_EQ(inflate(stream.substr(0, stream.size() - 1), deflatedText.size()), -1);
  EXPECT_EQ(inflate("not a deflate stream", deflatedText.size()), -1);
  std::string emptyStream = testing::RawDeflate("");
  EXPECT_EQ(InflateBuffer(reinterpret_cast<const uint8_t*>(emptyStream.data()), emptyStream.size(), nullptr, 0), 0);
}

}  // namespace
}  // namespace kestrel
