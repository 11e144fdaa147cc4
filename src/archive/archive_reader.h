// Reading the archives collectors keep ROMs in besides plain zips: 7z, rar,
// tar (plain or compressed), a single gzipped file, and zips whose members
// use methods the strict zip reader leaves alone (bzip2, lzma, xz, zstd,
// deflate64), or whose layout it refuses. libarchive does the decoding; this
// is the one place that talks to it.
//
// An archive is read as a stream, member after member, and a member's data
// only while it is the current one: no archive is ever held in memory, and
// most formats record no CRC-32, so callers compute it while they stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "archive/zip_entry.h"
#include "platform/file_system.h"

namespace kestrel {

// One regular file of an archive (folders, links and devices are passed over).
struct ArchiveMember {
  std::string name;        // the path as stored, folders included
  uint64_t size = 0;       // of the contents; meaningful only when sizeKnown
  bool sizeKnown = false;  // false for a lone gzipped file, whose size shows only once read
  bool encrypted = false;  // its data cannot be read without a password
};

// The largest member read: a ROM is below 4 GB, and a member that inflates
// beyond is refused rather than followed without end.
inline constexpr uint64_t kLargestArchiveMember = 0xFFFFFFFFull;

// True for the zip methods whose data are one plain bzip2 (12), zstd (93)
// or xz (95) stream.
bool HasStreamMethod(const ZipEntry& member);

// True for the names of archives ArchiveReader reads and the zip reader
// does not: .7z, .rar, .tar, .tgz, .tbz2, .txz, .gz, .bz2, .xz (any case).
bool HasArchiveExtension(const std::string& name);

class ArchiveReader {
 public:
  ArchiveReader();
  ~ArchiveReader();
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // Opens `path` (found without case in `fs`) and recognises its format. A
  // name ending in .gz, .bz2 or .xz but not naming a tar holds one file,
  // named like the archive without that ending. False, with fault(), when
  // the file cannot be opened or is no archive libarchive reads.
  bool Open(FileSystem& fs, const std::string& path);

  // Opens the data of one zip member compressed as a whole stream libarchive
  // decodes on its own (see HasStreamMethod), as an archive of that one
  // member, named as stored. libarchive's zip reader loses the end of such a
  // member when it inflates to far more than its compressed size (3.6.2,
  // zstd); its stream decoders do not.
  bool OpenZipMember(FileSystem& fs, const ZipEntry& member);

  // Moves to the next regular file. False at the end of the archive, and on
  // a fault (then fault() is not empty).
  bool NextMember(ArchiveMember& member);

  // Hands the current member's data to `take` piece by piece. False on a
  // fault (damaged data, a wrong password, more than kLargestArchiveMember
  // bytes; fault() says which) or as soon as `take` returns false.
  bool ReadMember(const std::function<bool(const uint8_t*, size_t)>& take);

  // What went wrong last, in words for the user; "" when nothing did.
  const std::string& fault() const { return fault_; }

 private:
  struct Reader;
  // Opens `length` bytes of `path` from `start` on; a `loneName` makes them
  // one compressed file of that name.
  bool OpenPart(FileSystem& fs, const std::string& path, uint64_t start, uint64_t length,
                const std::string& loneName);
  std::unique_ptr<Reader> reader_;
  std::string fault_;
};

}  // namespace kestrel
