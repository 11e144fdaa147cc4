#include "archive/torrent_zip.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "archive/crc32.h"
#include "archive/input_file.h"
#include "archive/zip_reader.h"
#include "platform/file_replacement.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr uint16_t kVersion = 20;
constexpr uint16_t kMaximumCompressionFlag = 2;
constexpr uint16_t kUtf8NameFlag = 0x800;
constexpr uint16_t kDeflated = 8;
constexpr uint16_t kDosTime = 48128;  // 23:32:00
constexpr uint16_t kDosDate = 8600;   // 1996-12-24, the day of MAME's first release
constexpr char kCommentPrefix[] = "TORRENTZIPPED-";
constexpr size_t kCommentLength = 22;
constexpr size_t kEndRecordLength = 22;
constexpr size_t kLocalHeaderLength = 30;

void Put(std::string& bytes, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t Get(const std::string& bytes, size_t offset, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes[offset + size_t(i)]);
  return value;
}

std::string CanonicalName(std::string name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

bool IsBeyondAscii(const std::string& name) {
  return std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

uint16_t FlagsFor(const std::string& name) {
  return static_cast<uint16_t>(kMaximumCompressionFlag | (IsBeyondAscii(name) ? kUtf8NameFlag : 0));
}

// The rules' order: names compared lowercased, byte by byte.
bool ComesBefore(const std::string& a, const std::string& b) { return ToLowerAscii(a) < ToLowerAscii(b); }

// The fields local and central headers share, from "version needed" on.
std::string SharedFields(const std::string& name, uint32_t crc, uint32_t compressed, uint32_t size) {
  std::string bytes;
  Put(bytes, kVersion, 2);
  Put(bytes, FlagsFor(name), 2);
  Put(bytes, kDeflated, 2);
  Put(bytes, kDosTime, 2);
  Put(bytes, kDosDate, 2);
  Put(bytes, crc, 4);
  Put(bytes, compressed, 4);
  Put(bytes, size, 4);
  Put(bytes, static_cast<uint32_t>(name.size()), 2);
  Put(bytes, 0, 2);  // extra field length
  return bytes;
}

std::string LocalHeader(const std::string& name, uint32_t crc, uint32_t compressed, uint32_t size) {
  std::string bytes;
  Put(bytes, 0x04034B50, 4);
  return bytes + SharedFields(name, crc, compressed, size) + name;
}

std::string CentralHeader(const std::string& name, uint32_t crc, uint32_t compressed, uint32_t size,
                          uint32_t offset) {
  std::string bytes;
  Put(bytes, 0x02014B50, 4);
  Put(bytes, 0, 2);  // made by MS-DOS, version 0
  bytes += SharedFields(name, crc, compressed, size);
  Put(bytes, 0, 2);  // comment length
  Put(bytes, 0, 2);  // disk number
  Put(bytes, 0, 2);  // internal attributes
  Put(bytes, 0, 4);  // external attributes
  Put(bytes, offset, 4);
  return bytes + name;
}

std::string Comment(const std::string& directory) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08X", Crc32(0, directory.data(), directory.size()));
  return kCommentPrefix + std::string(hex);
}

std::string EndRecord(const std::string& directory, size_t members, uint32_t directoryOffset) {
  std::string bytes;
  Put(bytes, 0x06054B50, 4);
  Put(bytes, 0, 4);  // this disk, the directory's disk
  Put(bytes, static_cast<uint32_t>(members), 2);
  Put(bytes, static_cast<uint32_t>(members), 2);
  Put(bytes, static_cast<uint32_t>(directory.size()), 4);
  Put(bytes, directoryOffset, 4);
  Put(bytes, kCommentLength, 2);
  return bytes + Comment(directory);
}

// The member's contents deflated as the rules say; false when the member
// does not decode to its listed size and CRC-32.
bool DeflateMember(FileSystem& fs, const ZipEntry& entry, std::string& deflated) {
  z_stream stream{};
  if (deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
  std::vector<uint8_t> output(256 * 1024);
  deflated.clear();
  auto pump = [&](const uint8_t* data, size_t count, int flush) {
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(count);
    int result = Z_OK;
    do {
      stream.next_out = output.data();
      stream.avail_out = static_cast<uInt>(output.size());
      result = deflate(&stream, flush);
      deflated.append(reinterpret_cast<const char*>(output.data()), output.size() - stream.avail_out);
    } while (stream.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
    return result != Z_STREAM_ERROR;
  };
  bool read = ReadZipEntry(fs, entry, [&](const uint8_t* data, size_t count) { return pump(data, count, Z_NO_FLUSH); });
  bool finished = read && pump(nullptr, 0, Z_FINISH);
  deflateEnd(&stream);
  return finished && deflated.size() <= UINT32_MAX;
}

// The members in the rules' order.
ZipEntryList SortedMembers(ZipEntryList members) {
  std::stable_sort(members.begin(), members.end(), [](const ZipEntry& a, const ZipEntry& b) {
    return ComesBefore(CanonicalName(a.storedName), CanonicalName(b.storedName));
  });
  return members;
}

// The whole file, when it is small enough to judge at once: a canonical
// zip's structure is checked from its bytes.
bool ReadTail(FileSystem& fs, const std::string& path, uint64_t length, std::string& bytes, uint64_t& size) {
  InputFile file;
  if (!file.Open(fs, path)) return false;
  size = file.size();
  if (size < kEndRecordLength + kCommentLength) return false;
  length = std::min<uint64_t>(length, size);
  bytes.resize(length);
  return file.ReadAt(size - length, bytes.data(), length) == static_cast<long long>(length);
}

}  // namespace

bool IsTorrentZip(FileSystem& fs, const std::string& path) {
  ZipEntryList members;
  if (!ReadZipDirectory(fs, path, members, false, nullptr, ZipHeaderCheck::kBothHeaders) || members.empty())
    return false;
  std::string tail;
  uint64_t size = 0;
  const uint64_t endLength = kEndRecordLength + kCommentLength;
  if (!ReadTail(fs, path, endLength, tail, size)) return false;
  uint32_t directorySize = Get(tail, 12, 4), directoryOffset = Get(tail, 16, 4);
  if (Get(tail, 0, 4) != 0x06054B50 || Get(tail, 20, 2) != kCommentLength) return false;
  if (uint64_t(directoryOffset) + directorySize + endLength != size) return false;
  std::string directory;
  if (!ReadTail(fs, path, directorySize + endLength, directory, size)) return false;
  directory.resize(directorySize);
  if (tail.substr(kEndRecordLength) != Comment(directory)) return false;
  // Every header must be the one the rules would write for its member.
  std::string expected;
  uint32_t offset = 0;
  for (size_t i = 0; i < members.size(); ++i) {
    const ZipEntry& entry = members[i];
    if (entry.storedName != CanonicalName(entry.storedName)) return false;
    if (i > 0 && ComesBefore(entry.storedName, members[i - 1].storedName)) return false;
    std::string local = LocalHeader(entry.storedName, entry.crc, entry.compressedSize, entry.size);
    if (entry.headerOffset != offset || entry.dataOffset != offset + local.size()) return false;
    if (std::string(entry.localHeader.begin(), entry.localHeader.end()) != local.substr(0, kLocalHeaderLength))
      return false;
    expected += CentralHeader(entry.storedName, entry.crc, entry.compressedSize, entry.size, offset);
    offset += static_cast<uint32_t>(local.size()) + entry.compressedSize;
  }
  return offset == directoryOffset && expected == directory;
}

const char* TorrentZipFaultText(TorrentZipFault fault) {
  switch (fault) {
    case TorrentZipFault::kNone: return "in TorrentZip's form";
    case TorrentZipFault::kUnreadable: return "its directory could not be read";
    case TorrentZipFault::kBadMember: return "a member does not match its size and CRC-32";
    case TorrentZipFault::kTooLarge: return "too large for TorrentZip's form";
    case TorrentZipFault::kWriteFailed: return "the rewritten zip could not be written";
  }
  return "";
}

TorrentZipFault WriteTorrentZip(FileSystem& fs, const std::string& path) {
  ZipEntryList members;
  if (!ReadZipDirectory(fs, path, members, false, nullptr) || members.empty()) return TorrentZipFault::kUnreadable;
  if (IsTorrentZip(fs, path)) return TorrentZipFault::kNone;
  FileReplacement output(fs);
  if (!output.Create(path)) return TorrentZipFault::kWriteFailed;
  std::string directory, deflated;
  uint64_t offset = 0;
  for (const ZipEntry& entry : SortedMembers(members)) {
    if (!DeflateMember(fs, entry, deflated)) return TorrentZipFault::kBadMember;
    std::string name = CanonicalName(entry.storedName);
    uint32_t compressed = static_cast<uint32_t>(deflated.size());
    std::string local = LocalHeader(name, entry.crc, compressed, entry.size);
    if (offset + local.size() + deflated.size() > UINT32_MAX) return TorrentZipFault::kTooLarge;
    if (!output.Write(local.data(), local.size()) || !output.Write(deflated.data(), deflated.size()))
      return TorrentZipFault::kWriteFailed;
    directory += CentralHeader(name, entry.crc, compressed, entry.size, static_cast<uint32_t>(offset));
    offset += local.size() + deflated.size();
  }
  std::string end = EndRecord(directory, members.size(), static_cast<uint32_t>(offset));
  bool written = output.Write(directory.data(), directory.size()) && output.Write(end.data(), end.size()) &&
                 output.Close(true) && output.Commit();
  return written ? TorrentZipFault::kNone : TorrentZipFault::kWriteFailed;
}

void TorrentZipMisses::Add(const std::string& path, TorrentZipFault fault) {
  std::lock_guard lock(mutex_);
  misses_.push_back({path, fault});
}

std::vector<TorrentZipMiss> TorrentZipMisses::List() const {
  std::lock_guard lock(mutex_);
  return misses_;
}

}  // namespace kestrel
