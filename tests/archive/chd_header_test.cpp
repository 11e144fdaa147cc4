// CHD headers of the three versions MAME reads, and the files that are none.
#include "archive/chd_header.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace kestrel {
namespace {

void PutBigEndian32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(value >> (24 - 8 * i));
}

// A header of `version` and `length` whose SHA-1 fields hold 0x80 (at
// offset 48), 0x84, ... : each field's first byte tells where it was read.
std::vector<uint8_t> Header(uint32_t version, uint32_t length, uint32_t flags = 0) {
  std::vector<uint8_t> bytes(length < 16 ? 16 : length, 0);
  std::copy_n("MComprHD", 8, bytes.begin());
  PutBigEndian32(bytes, 8, length);
  PutBigEndian32(bytes, 12, version);
  if (version != 5) PutBigEndian32(bytes, 16, flags);
  for (size_t at = 48; at + 20 <= bytes.size(); at += 4) bytes[at] = uint8_t(at);
  return bytes;
}

uint32_t ReadVersion(const std::vector<uint8_t>& bytes) {
  return uint32_t{bytes[12]} << 24 | uint32_t{bytes[13]} << 16 | uint32_t{bytes[14]} << 8 | bytes[15];
}

struct Case {
  const char* what;
  std::vector<uint8_t> bytes;
  ChdHeaderStatus status;
  int sha1 = 0, raw = 0, parent = 0;  // the offset each was read from; 0 for none
  uint64_t fileSize = 0;              // 0: as long as `bytes`
};

TEST(ChdHeaderTest, ReadsEachVersionsFieldsAndRefusesOthers) {
  std::vector<uint8_t> cut = Header(5, 124);
  cut.resize(100);
  std::vector<uint8_t> otherTag = Header(5, 124);
  otherTag[0] = 'm';
  std::vector<uint8_t> v4TwoHunks = Header(4, 108);
  PutBigEndian32(v4TwoHunks, 24, 2);
  std::vector<uint8_t> v5Compressed = Header(5, 124);
  PutBigEndian32(v5Compressed, 16, 0x7A6C6962);  // "zlib"
  PutBigEndian32(v5Compressed, 44, 200);           // the map's offset
  std::vector<uint8_t> v5NoParent = Header(5, 124);
  std::fill_n(v5NoParent.begin() + 104, 20, 0);
  const Case cases[] = {
      {"v3", Header(3, 120), ChdHeaderStatus::kGood, 80, 0, 0},
      {"v3 with parent", Header(3, 120, 1), ChdHeaderStatus::kGood, 80, 0, 100},
      {"v4 with parent", Header(4, 108, 3), ChdHeaderStatus::kGood, 48, 88, 68},
      {"v5", Header(5, 124), ChdHeaderStatus::kGood, 84, 64, 104},
      {"v5 zero parent", v5NoParent, ChdHeaderStatus::kGood, 84, 64, 0},
      {"v5 length of v3", Header(5, 120), ChdHeaderStatus::kNotChd},
      {"cut after the version", std::vector<uint8_t>(cut.begin(), cut.begin() + 60), ChdHeaderStatus::kNotChd},
      {"v5 cut short", cut, ChdHeaderStatus::kNotChd},
      {"other tag", otherTag, ChdHeaderStatus::kNotChd},
      {"no header", std::vector<uint8_t>(15, 'M'), ChdHeaderStatus::kNotChd},
      {"v2", Header(2, 80), ChdHeaderStatus::kUnknownVersion},
      {"v6", Header(6, 124), ChdHeaderStatus::kUnknownVersion},
      {"v4 map cut", v4TwoHunks, ChdHeaderStatus::kCutShort, 0, 0, 0, 108 + 31},
      {"v4 map whole", v4TwoHunks, ChdHeaderStatus::kGood, 48, 88, 0, 108 + 32},
      {"v5 map header cut", v5Compressed, ChdHeaderStatus::kCutShort, 0, 0, 0, 215},
      {"v5 map header whole", v5Compressed, ChdHeaderStatus::kGood, 84, 64, 104, 216},
  };
  for (const Case& c : cases) {
    ChdHeader header = ParseChdHeader(c.bytes.data(), c.bytes.size(), c.fileSize ? c.fileSize : c.bytes.size());
    EXPECT_EQ(header.status, c.status) << c.what;
    if (c.status == ChdHeaderStatus::kNotChd) continue;
    EXPECT_EQ(header.version, ReadVersion(c.bytes)) << c.what;
    if (c.status != ChdHeaderStatus::kGood) continue;
    EXPECT_EQ(header.sha1[0], c.sha1) << c.what;
    EXPECT_EQ(header.rawSha1 ? (*header.rawSha1)[0] : 0, c.raw) << c.what;
    EXPECT_EQ(header.parentSha1 ? (*header.parentSha1)[0] : 0, c.parent) << c.what;
  }
}

TEST(ChdHeaderTest, ReadsOnlyTheStartOfAFileAndTellsAMissingOne) {
  testing::TempFolder folder;
  std::vector<uint8_t> bytes = Header(5, 124);
  bytes.resize(1 << 20, 0xAA);  // data after the header is never looked at
  testing::WriteFile(folder / "disk.chd", std::string(bytes.begin(), bytes.end()));
  ChdHeader header = ReadChdHeader(RealFileSystem(), folder / "disk.chd");
  EXPECT_EQ(header.status, ChdHeaderStatus::kGood);
  EXPECT_EQ(header.sha1[0], 84);
  EXPECT_EQ(ReadChdHeader(RealFileSystem(), folder / "none.chd").status, ChdHeaderStatus::kUnreadable);
  EXPECT_EQ(ReadChdHeader(RealFileSystem(), folder.path()).status, ChdHeaderStatus::kUnreadable) << "a folder";
}

}  // namespace
}  // namespace kestrel
