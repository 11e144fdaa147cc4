#include "archive/chd_header.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace kestrel {
namespace {

constexpr char kTag[] = "MComprHD";
constexpr size_t kTagLength = 8;
constexpr size_t kCommonLength = 16;  // tag, length, version
constexpr size_t kLongestHeader = 124;
constexpr uint32_t kHasParentFlag = 1;

// Where each version keeps what we read; 0 where it has no such field.
struct HeaderLayout {
  uint32_t version;
  uint32_t length;
  size_t sha1;
  size_t rawSha1;
  size_t parentSha1;
  bool parentByFlag;  // v3 and v4 say by a flag whether the parent's field counts
};

constexpr HeaderLayout kLayouts[] = {
    {3, 120, 80, 0, 100, true},
    {4, 108, 48, 88, 68, true},
    {5, 124, 84, 64, 104, false},
};

uint32_t ReadBigEndian32(const uint8_t* bytes) {
  return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

uint64_t ReadBigEndian64(const uint8_t* bytes) {
  return uint64_t{ReadBigEndian32(bytes)} << 32 | ReadBigEndian32(bytes + 4);
}

// Where the hunk map ends, by the header: v3 and v4 keep 16 bytes per hunk
// right after the header; v5 keeps a compressed map (16 bytes of its own
// header first) or 4 bytes per hunk at the map offset. The sums are done
// in 128 bits so that no damaged field wraps them round.
unsigned __int128 MapEnd(const uint8_t* bytes, const HeaderLayout& layout) {
  using Wide = unsigned __int128;
  if (layout.version != 5) return Wide{layout.length} + Wide{ReadBigEndian32(bytes + 24)} * 16;
  Wide mapOffset = ReadBigEndian64(bytes + 40);
  bool compressed = ReadBigEndian32(bytes + 16) != 0;
  if (compressed) return mapOffset + 16;
  uint64_t logicalBytes = ReadBigEndian64(bytes + 32);
  uint32_t hunkBytes = ReadBigEndian32(bytes + 56);
  if (hunkBytes == 0) return ~Wide{0};
  Wide hunks = (Wide{logicalBytes} + hunkBytes - 1) / hunkBytes;
  return mapOffset + hunks * 4;
}

Sha1Digest DigestAt(const uint8_t* bytes, size_t offset) {
  Sha1Digest digest{};
  std::copy_n(bytes + offset, digest.size(), digest.begin());
  return digest;
}

bool IsZero(const Sha1Digest& digest) {
  return std::all_of(digest.begin(), digest.end(), [](uint8_t byte) { return byte == 0; });
}

const HeaderLayout* LayoutOf(uint32_t version) {
  for (const HeaderLayout& layout : kLayouts) {
    if (layout.version == version) return &layout;
  }
  return nullptr;
}

}  // namespace

ChdHeader ParseChdHeader(const uint8_t* bytes, size_t size, uint64_t fileSize) {
  ChdHeader header;
  header.status = ChdHeaderStatus::kNotChd;
  if (size < kCommonLength || std::memcmp(bytes, kTag, kTagLength) != 0) return header;
  header.version = ReadBigEndian32(bytes + 12);
  const HeaderLayout* layout = LayoutOf(header.version);
  if (layout == nullptr) {
    header.status = ChdHeaderStatus::kUnknownVersion;
    return header;
  }
  // MAME refuses a header whose length is not its version's.
  if (ReadBigEndian32(bytes + 8) != layout->length || size < layout->length) return header;
  header.sha1 = DigestAt(bytes, layout->sha1);
  if (layout->rawSha1 != 0) header.rawSha1 = DigestAt(bytes, layout->rawSha1);
  Sha1Digest parent = DigestAt(bytes, layout->parentSha1);
  bool hasParent = layout->parentByFlag ? (ReadBigEndian32(bytes + 16) & kHasParentFlag) != 0 : !IsZero(parent);
  if (hasParent) header.parentSha1 = parent;
  header.status = MapEnd(bytes, *layout) > fileSize ? ChdHeaderStatus::kCutShort : ChdHeaderStatus::kGood;
  return header;
}

ChdHeader ReadChdHeader(FileSystem& fs, const std::string& path) {
  std::unique_ptr<ReadableFile> file = fs.OpenForReading(path);
  if (!file) return ChdHeader{};
  std::array<uint8_t, kLongestHeader> bytes{};
  long long count = file->ReadAt(0, bytes.data(), bytes.size());
  if (count < 0) return ChdHeader{};
  return ParseChdHeader(bytes.data(), static_cast<size_t>(count), file->Size());
}

}  // namespace kestrel
