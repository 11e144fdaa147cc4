#include "archive/zip_reader.h"

#include <cstring>
#include <span>
#include <string_view>
#include <unordered_map>

#include "archive/zip_problem.h"
#include "archive/input_file.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kCentralHeaderSize = 46;
constexpr uint16_t kDataDescriptorFlag = 8;
constexpr uint32_t kDataDescriptorSignature = 0x08074B50;
constexpr uint64_t kDataDescriptorSize = 12;  // CRC and both sizes
// Read first, in one piece: a set zip's central directory and end record
// lie in its last 64 KB unless it has thousands of members, and a zip of
// at most this size is read whole, its local headers included.
constexpr size_t kDirectoryTail = 64 * 1024;

uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Read32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

enum class Step { kOk, kInvalid, kFileError };

// The walk through one archive: the file, where the next structure starts,
// and the structural fault found, if any.
struct DirectoryWalk {
  InputFile file;
  uint64_t position = 0;
  std::string path;
  ZipFault fault = ZipFault::kNone;
};

// Ends the walk at a structural fault.
bool Refuse(DirectoryWalk& walk, ZipFault fault) {
  walk.fault = fault;
  return false;
}

bool EndsWithFolderSeparator(std::string_view name) {
  return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

// Names that cannot stand for a file of their own inside a set folder.
bool IsUsableFileName(const std::string& name) { return !name.empty() && name != "." && name != ".."; }

// The next four bytes without consuming them; 0 when fewer remain.
Step PeekSignature(DirectoryWalk& walk, uint32_t& signature) {
  uint8_t bytes[4];
  long long got = walk.file.ReadAt(walk.position, bytes, sizeof bytes);
  if (got < 0) return Step::kFileError;
  signature = got == 4 ? Read32(bytes) : 0;
  return Step::kOk;
}

// Reads `length` bytes at the walk's position into `out` and moves on.
// kInvalid when the file ends first.
Step ReadBytes(DirectoryWalk& walk, void* out, size_t length) {
  long long got = walk.file.ReadAt(walk.position, out, length);
  if (got < 0) return Step::kFileError;
  walk.position += static_cast<uint64_t>(got);
  return static_cast<size_t>(got) == length ? Step::kOk : Step::kInvalid;
}

Step ReadBytes(DirectoryWalk& walk, std::string& out, size_t length) {
  out.resize(length);
  return ReadBytes(walk, out.data(), length);
}

// The local headers and the central directory are each a run of one kind
// of record that ends where another signature follows.
template <class ReadEntry>
Step ReadEntries(DirectoryWalk& walk, uint32_t entrySignature, ReadEntry readEntry) {
  uint32_t signature = entrySignature;
  Step step = Step::kOk;
  while (step == Step::kOk && signature == entrySignature) {
    step = readEntry();
    if (step == Step::kOk) step = PeekSignature(walk, signature);
  }
  return step;
}

// Reads a header that must start with `signature`, then its variable
// fields into `names`: their 16-bit lengths stand one after the other from
// `lengthsAt`, the name's first, which must not be 0.
Step ReadHeader(DirectoryWalk& walk, std::span<uint8_t> header, uint32_t signature, size_t lengthsAt,
                int lengthCount, std::string& names) {
  Step step = ReadBytes(walk, header.data(), header.size());
  if (step != Step::kOk) return step;
  if (Read32(header.data()) != signature || Read16(header.data() + lengthsAt) == 0) return Step::kInvalid;
  size_t length = 0;
  for (int i = 0; i < lengthCount; ++i) length += Read16(header.data() + lengthsAt + 2 * i);
  return ReadBytes(walk, names, length);
}

Step ReadLocalEntry(DirectoryWalk& walk, ZipEntryList& list) {
  uint64_t headerOffset = walk.position;
  uint8_t header[kLocalHeaderSize];
  std::string names;  // name and extra field
  Step step = ReadHeader(walk, header, kLocalSignature, 26, 2, names);
  if (step != Step::kOk) return step;
  uint16_t nameLength = Read16(header + 26);

  // Offsets are 32-bit in this format; a member starting beyond that
  // cannot be described and is no longer a zip this reader understands.
  uint64_t dataOffset = walk.position;
  if (dataOffset > UINT32_MAX) return Step::kInvalid;
  walk.position += Read32(header + 18);
  if (Read16(header + 6) & kDataDescriptorFlag) {
    // Most writers put a signature before the descriptor; it is optional.
    uint32_t signature = 0;
    if (Step peeked = PeekSignature(walk, signature); peeked != Step::kOk) return peeked;
    walk.position += kDataDescriptorSize + (signature == kDataDescriptorSignature ? 4 : 0);
  }

  std::string storedName = names.substr(0, nameLength);
  if (EndsWithFolderSeparator(storedName)) return Step::kOk;
  ZipEntry entry;
  entry.name = FileNamePart(storedName);
  if (!IsUsableFileName(entry.name)) return Step::kOk;
  entry.storedName = std::move(storedName);
  entry.archivePath = walk.path;
  entry.crc = Read32(header + 14);
  entry.compressedSize = Read32(header + 18);
  entry.size = Read32(header + 22);
  entry.dataOffset = static_cast<uint32_t>(dataOffset);
  entry.headerOffset = static_cast<uint32_t>(headerOffset);
  entry.method = Read16(header + 8);
  std::memcpy(entry.localHeader.data(), header, kLocalHeaderSize);
  list.push_back(std::move(entry));
  return Step::kOk;
}

// Listed entries by where their local header starts: a central header
// names its member by that offset, and two members may share one name.
using HeaderOffsetIndex = std::unordered_map<uint32_t, ZipEntry*>;

HeaderOffsetIndex IndexByHeaderOffset(ZipEntryList& list) {
  HeaderOffsetIndex index;
  index.reserve(list.size());
  for (ZipEntry& entry : list) index.emplace(entry.headerOffset, &entry);
  return index;
}

// The nine fields from version needed to name length stand in the same
// order in both headers: central bytes 6..29 against local bytes 4..27.
bool MatchesLocalHeader(const uint8_t* central, const ZipEntry& entry) {
  return std::memcmp(central + 6, entry.localHeader.data() + 4, 24) == 0;
}

// The central headers as they are walked: the listed entries they may name
// and how many were read before.
struct CentralWalk {
  HeaderOffsetIndex entries;
  int position = 0;
  bool compareHeaders = false;  // ZipHeaderCheck::kBothHeaders
};

// Gives the listed entry this central header points at its central index.
// With the comparison on, every usable member's central header must point
// at a local header of the same name and agree with it.
Step ReadCentralEntry(DirectoryWalk& walk, CentralWalk& central) {
  uint8_t header[kCentralHeaderSize];
  std::string names;  // name, extra field and comment
  Step step = ReadHeader(walk, header, kCentralSignature, 28, 3, names);
  if (step != Step::kOk) return step;
  uint16_t nameLength = Read16(header + 28);
  int position = central.position++;

  std::string_view name(names.data(), nameLength);
  if (EndsWithFolderSeparator(name)) return Step::kOk;
  auto found = central.entries.find(Read32(header + 42));
  bool pointsAtEntry = found != central.entries.end() && found->second->storedName == name &&
                       found->second->centralIndex < 0;
  if (pointsAtEntry) found->second->centralIndex = position;
  if (!central.compareHeaders) return Step::kOk;
  // Members the list leaves out on purpose have no entry to compare with.
  if (!pointsAtEntry) return IsUsableFileName(FileNamePart(name)) ? Step::kInvalid : Step::kOk;
  return MatchesLocalHeader(header, *found->second) ? Step::kOk : Step::kInvalid;
}

// Walks the local headers and the central directory; false on any fault,
// structural ones named in the walk.
bool WalkArchive(DirectoryWalk& walk, ZipEntryList& list, ZipHeaderCheck headerCheck) {
  // A zip without members is its end record alone: no local header, no
  // central directory.
  uint32_t signature = 0;
  if (PeekSignature(walk, signature) != Step::kOk) return false;
  if (signature == kEndSignature) return true;

  Step step = ReadEntries(walk, kLocalSignature, [&] { return ReadLocalEntry(walk, list); });
  if (step == Step::kFileError) return false;
  if (step == Step::kInvalid) return Refuse(walk, ZipFault::kBadLocalEntry);

  CentralWalk central;
  central.entries = IndexByHeaderOffset(list);
  central.compareHeaders = headerCheck == ZipHeaderCheck::kBothHeaders;
  step = ReadEntries(walk, kCentralSignature, [&] { return ReadCentralEntry(walk, central); });
  if (step == Step::kFileError) return false;
  if (step == Step::kInvalid) return Refuse(walk, ZipFault::kBadCentralEntry);

  if (PeekSignature(walk, signature) != Step::kOk) return false;
  if (signature != kEndSignature) return Refuse(walk, ZipFault::kBadEndRecord);
  return true;
}

}  // namespace

bool ReadZipDirectory(FileSystem& fs, std::string path, ZipEntryList& list, bool checkExtension, ZipProblem* problem,
                      ZipHeaderCheck headerCheck) {
  list.clear();
  if (problem != nullptr) *problem = ZipProblem{};
  if (checkExtension && !HasZipExtension(path)) return false;
  DirectoryWalk walk;
  walk.path = std::move(path);
  if (!walk.file.Open(fs, walk.path) || !walk.file.ReadTail(kDirectoryTail)) return false;
  if (WalkArchive(walk, list, headerCheck)) return true;
  if (problem != nullptr && walk.fault != ZipFault::kNone) *problem = {walk.fault, walk.path};
  return false;
}

}  // namespace kestrel
