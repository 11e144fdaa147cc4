#include "archive/torrent_zip.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "archive/zip_fixtures.h"
#include "archive/zip_library.h"
#include "support/faulty_file_system.h"

namespace kestrel::testing {
namespace {

class TorrentZipTest : public ZipTest {
 protected:
  const std::string a = Text(5000, 1), b = Text(300, 2), c = Text(70000, 3);

  // The end record's comment and the CRC-32 of the central directory it
  // should name, read from the bytes as any checker would.
  static std::pair<std::string, std::string> CommentAndDirectoryCrc(const std::string& zip) {
    size_t end = zip.size() - 44;
    uint32_t size = 0, offset = 0;
    for (int i = 3; i >= 0; --i) size = size << 8 | uint8_t(zip[end + 12 + i]), offset = offset << 8 | uint8_t(zip[end + 16 + i]);
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", CrcOf(zip.substr(offset, size)));
    return {zip.substr(end + 22), std::string("TORRENTZIPPED-") + hex};
  }
};

TEST_F(TorrentZipTest, TheSameMembersGiveTheSameBytesWhateverTheirZip) {
  WriteFile(folder / "one.zip", BuildZip({MemberBytes("c.rom", c), Deflated("B.rom", b), MemberBytes("a.rom", a)}));
  WriteFile(folder / "two.zip", BuildZip({Deflated("a.rom", a), MemberBytes("c.rom", c), MemberBytes("B.rom", b)}));
  for (const char* name : {"one.zip", "two.zip"}) {
    EXPECT_FALSE(IsTorrentZip(RealFileSystem(), folder / name));
    ASSERT_EQ(WriteTorrentZip(RealFileSystem(), folder / name), TorrentZipFault::kNone);
    EXPECT_TRUE(IsTorrentZip(RealFileSystem(), folder / name));
  }
  std::string one = ReadFile(folder / "one.zip");
  EXPECT_EQ(one, ReadFile(folder / "two.zip"));
  auto [comment, expected] = CommentAndDirectoryCrc(one);
  EXPECT_EQ(comment, expected);
  // Sorted without case, names as they were, every member deflated.
  EXPECT_EQ(ReadBack(folder / "one.zip"), (Texts{"a.rom=" + a + "/8", "B.rom=" + b + "/8", "c.rom=" + c + "/8"}));
  // Fixed time and date, flag 2, no extra field: bytes 6 to 13 and 28 of the first local header.
  EXPECT_EQ(one.substr(6, 8), std::string("\x02\x00\x08\x00\x00\xBC\x98\x21", 8));
  EXPECT_EQ(one.substr(28, 2), std::string("\0\0", 2));
}

TEST_F(TorrentZipTest, AnyChangeBreaksTheFormAndAFailedRewriteChangesNothing) {
  WriteFile(folder / "set.zip", BuildZip({MemberBytes("a.rom", a), MemberBytes("b.rom", b)}));
  ASSERT_EQ(WriteTorrentZip(RealFileSystem(), folder / "set.zip"), TorrentZipFault::kNone);
  std::string canonical = ReadFile(folder / "set.zip");
  std::string touched = canonical;
  touched[touched.size() - 60] ^= 1;  // inside the central directory
  WriteFile(folder / "touched.zip", touched);
  EXPECT_FALSE(IsTorrentZip(RealFileSystem(), folder / "touched.zip"));
  WriteFile(folder / "reordered.zip", BuildZip({MemberBytes("b.rom", b), MemberBytes("a.rom", a)}));
  EXPECT_FALSE(IsTorrentZip(RealFileSystem(), folder / "reordered.zip"));

  MemberBytes lying("a.rom", a);
  lying.crc = 1234;
  std::string damaged = BuildZip({MemberBytes("b.rom", b), lying});
  WriteFile(folder / "damaged.zip", damaged);
  EXPECT_EQ(WriteTorrentZip(RealFileSystem(), folder / "damaged.zip"), TorrentZipFault::kBadMember);
  EXPECT_EQ(ReadFile(folder / "damaged.zip"), damaged);
  EXPECT_EQ(RealFileSystem().ListFolder(folder.path()).size(), 4u);  // no temporary file left beside them
}

TEST_F(TorrentZipTest, ZipUpdateWritesTheFormWhenAsked) {
  WriteFile(folder / "a.rom", a);
  WriteFile(folder / "b.rom", b);
  ZipLibrary library;
  library.torrentZip = true;
  ASSERT_TRUE(ZipAddFiles(RealFileSystem(), library, folder / "set", {folder / "b.rom", folder / "a.rom"}));
  EXPECT_TRUE(IsTorrentZip(RealFileSystem(), folder / "set.zip"));
  library.torrentZip = false;
  ASSERT_TRUE(ZipDeleteEntries(RealFileSystem(), library, folder / "set", {"a.rom"}));
  EXPECT_FALSE(IsTorrentZip(RealFileSystem(), folder / "set.zip"));
}

TEST_F(TorrentZipTest, ARewriteThatFailsKeepsTheUpdateAndNamesTheZip) {
  WriteFile(folder / "a.rom", a);
  WriteFile(folder / "b.rom", b);
  TorrentZipMisses misses;
  ZipLibrary library;
  library.torrentZip = true;
  library.torrentZipMisses = &misses;
  // The update's own commit goes through; the rewrite's is refused.
  FaultyFileSystem fs;
  fs.Fail({FileOperation::kReplace, "*", 2});
  ASSERT_TRUE(ZipAddFiles(fs, library, folder / "set", {folder / "b.rom", folder / "a.rom"}));
  EXPECT_FALSE(IsTorrentZip(RealFileSystem(), folder / "set.zip"));
  EXPECT_EQ(ReadBack(folder / "set.zip").size(), 2u);
  std::vector<TorrentZipMiss> named = misses.List();
  ASSERT_EQ(named.size(), 1u);
  EXPECT_EQ(named[0].path, folder / "set.zip");
  EXPECT_EQ(named[0].fault, TorrentZipFault::kWriteFailed);
  EXPECT_EQ(RealFileSystem().ListFolder(folder.path()).size(), 3u);  // no temporary file left beside it
}

}  // namespace
}  // namespace kestrel::testing
