#include "archive/member_data.h"

#include "archive/archive_reader.h"
#include "archive/crc32.h"
#include "archive/seven_zip_set.h"
#include "archive/zip_reader.h"
#include "platform/file_replacement.h"

namespace kestrel {
namespace {

constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;
constexpr uint16_t kLzma = 14;
constexpr uint16_t kPpmd = 98;

// Opens the archive holding `member` in `reader` and moves to the member;
// a zip member of a one-stream method is opened on its own.
bool OpenAtMember(FileSystem& fs, const ZipEntry& member, ArchiveReader& reader, std::string& fault) {
  ArchiveMember current;
  if (!IsSevenZipMember(member) && HasStreamMethod(member)) {
    if (reader.OpenZipMember(fs, member) && reader.NextMember(current)) return true;
    fault = reader.fault();
    return false;
  }
  if (!reader.Open(fs, member.archivePath)) {
    fault = reader.fault();
    return false;
  }
  while (reader.NextMember(current)) {
    if (current.name == member.storedName) return true;
    // In a solid 7z, libarchive's skip over a member whose data were never
    // read can leave the next member's data wrong; reading them through
    // costs no more, as the block is decoded either way.
    if (IsSevenZipMember(member) && !reader.ReadMember([](const uint8_t*, size_t) { return true; })) break;
  }
  fault = reader.fault().empty() ? "is no longer in its archive" : reader.fault();
  return false;
}

// Reads the member through libarchive, holding its contents against the
// size and CRC-32 listed: libarchive does not check every format's.
bool ReadThroughArchive(FileSystem& fs, const ZipEntry& member,
                        const std::function<bool(const uint8_t*, size_t)>& take, std::string& fault) {
  ArchiveReader reader;
  if (!OpenAtMember(fs, member, reader, fault)) {
    fault = "cannot be decoded: " + fault;
    return false;
  }
  uint32_t crc = 0;
  uint64_t size = 0;
  bool taken = true;
  bool whole = reader.ReadMember([&](const uint8_t* data, size_t count) {
    crc = Crc32(crc, data, count);
    size += count;
    taken = take(data, count);
    return taken;
  });
  if (!whole) {
    fault = taken ? "cannot be decoded: " + reader.fault() : "was not read to its end";
    return false;
  }
  if (size != member.size || crc != member.crc) {
    fault = "does not match its size and CRC-32";
    return false;
  }
  return true;
}

}  // namespace

bool IsEncryptedMember(const ZipEntry& member) {
  constexpr size_t kFlagsOffset = 6;  // general purpose flags of the local header; bit 0: encrypted
  return (member.localHeader[kFlagsOffset] & 1) != 0;
}

bool IsZipReaderMethod(const ZipEntry& member) { return member.method == kStored || member.method == kDeflated; }

bool CanDecodeMember(const ZipEntry& member) {
  if (IsEncryptedMember(member)) return false;
  if (IsSevenZipMember(member)) return true;
  return member.method == kStored || member.method == kDeflated || member.method == kLzma || member.method == kPpmd ||
         HasStreamMethod(member);
}

bool ReadMemberData(FileSystem& fs, const ZipEntry& member, const std::function<bool(const uint8_t*, size_t)>& take,
                    std::string* fault) {
  std::string why;
  bool whole = false;
  if (!CanDecodeMember(member)) {
    why = IsEncryptedMember(member) ? "is encrypted" : "is compressed by a method Kestrel does not read";
  } else if (!IsSevenZipMember(member) && IsZipReaderMethod(member)) {
    whole = ReadZipEntry(fs, member, take);
    if (!whole) why = "does not match its size and CRC-32, or cannot be read";
  } else {
    whole = ReadThroughArchive(fs, member, take, why);
  }
  if (fault != nullptr) *fault = why;
  return whole;
}

bool ExtractMemberData(FileSystem& fs, const ZipEntry& member, const std::string& destinationPath,
                       std::string* fault) {
  FileReplacement file(fs);
  if (!file.Create(destinationPath)) {
    if (fault != nullptr) *fault = "could not be written";
    return false;
  }
  bool writeFailed = false;
  bool whole = ReadMemberData(
      fs, member,
      [&](const uint8_t* data, size_t count) {
        writeFailed = !file.Write(data, count);
        return !writeFailed;
      },
      fault);
  if (writeFailed && fault != nullptr) *fault = "could not be written (disk full ?)";
  return whole && file.Close() && file.Commit();
}

}  // namespace kestrel
