#include "archive/seven_zip_set.h"

#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "archive/archive_reader.h"
#include "archive/crc32.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

// The zip flag for an encrypted member, kept where IsReadable-style checks
// of zip members look for it.
constexpr uint8_t kEncryptedFlag = 1;
constexpr size_t kFlagsByte = 6;

// One listing as read, and the file it was read from.
struct KnownListing {
  uint64_t size = 0;
  int64_t time = 0;
  ZipEntryList list;
};

// Listings by file system and path: decoding a 7z is costly, and a scan
// asks for a set several times (its ROMs, its unneeded files, its clones).
std::mutex knownMutex;
std::map<std::pair<const FileSystem*, std::string>, KnownListing> known;

bool DecodeMembers(FileSystem& fs, const std::string& path, ZipEntryList& list, std::string& fault) {
  ArchiveReader archive;
  if (!archive.Open(fs, path)) {
    fault = archive.fault();
    return false;
  }
  ArchiveMember member;
  while (archive.NextMember(member)) {
    ZipEntry entry;
    entry.storedName = member.name;
    entry.name = std::string(FileNamePart(member.name));
    entry.archivePath = path;
    if (member.encrypted) {
      entry.localHeader[kFlagsByte] = kEncryptedFlag;
      entry.size = static_cast<uint32_t>(member.size);
      list.push_back(std::move(entry));
      continue;
    }
    uint32_t crc = 0;
    uint64_t size = 0;
    bool whole = archive.ReadMember([&](const uint8_t* data, size_t count) {
      crc = Crc32(crc, data, count);
      size += count;
      return true;
    });
    if (!whole) {
      fault = "member " + member.name + ": " + archive.fault();
      return false;
    }
    entry.crc = crc;
    entry.size = static_cast<uint32_t>(size);
    entry.compressedSize = entry.size;
    // A name without a file part (a folder entry) is no ROM.
    if (!entry.name.empty() && entry.name != "." && entry.name != "..") list.push_back(std::move(entry));
  }
  fault = archive.fault();
  return fault.empty();
}

}  // namespace

bool HasSevenZipExtension(std::string_view path) { return path.size() > 3 && HasSuffixNoCase(path, ".7z"); }

bool IsSevenZipMember(const ZipEntry& member) { return HasSevenZipExtension(member.archivePath); }

std::string WithoutSevenZipExtension(std::string_view path) {
  return std::string(HasSevenZipExtension(path) ? path.substr(0, path.size() - 3) : path);
}

bool ReadSevenZipSet(FileSystem& fs, const std::string& path, ZipEntryList& list, std::string& fault) {
  list.clear();
  fault.clear();
  std::unique_ptr<ReadableFile> file = fs.OpenForReading(path);
  if (!file) {
    fault = "could not be opened";
    return false;
  }
  const uint64_t size = file->Size();
  const int64_t time = file->ModificationTime();
  const auto key = std::make_pair(&fs, path);
  {
    std::lock_guard<std::mutex> lock(knownMutex);
    auto found = known.find(key);
    if (found != known.end() && found->second.size == size && found->second.time == time) {
      list = found->second.list;
      return true;
    }
  }
  if (!DecodeMembers(fs, path, list, fault)) {
    list.clear();
    return false;
  }
  std::lock_guard<std::mutex> lock(knownMutex);
  known[key] = KnownListing{size, time, list};
  return true;
}

}  // namespace kestrel
