#include "archive/archive_reader.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <vector>

#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr size_t kReadPiece = 256 * 1024;

// libarchive's words for its last fault, without the line end some of them
// carry; `otherwise` when it has none.
std::string FaultOf(struct archive* handle, const char* otherwise) {
  const char* text = archive_error_string(handle);
  std::string fault = text ? text : otherwise;
  while (!fault.empty() && (fault.back() == '\n' || fault.back() == ' ')) fault.pop_back();
  return fault.empty() ? otherwise : fault;
}

bool EndsWithNoCase(const std::string& name, const std::string& ending) {
  return name.size() > ending.size() && EqualsNoCase(name.substr(name.size() - ending.size()), ending);
}

// A compressed stream that is not a tar holds one file: libarchive's raw
// format then yields it as the only member.
const char* const kStreamEndings[] = {".gz", ".bz2", ".xz"};
const char* const kTarEndings[] = {".tar", ".tgz", ".tbz2", ".txz"};

// The ending that makes `name` a lone compressed file, or "" when it is none.
std::string StreamEnding(const std::string& name) {
  for (const char* ending : kStreamEndings) {
    if (!EndsWithNoCase(name, ending)) continue;
    std::string stem = name.substr(0, name.size() - std::string(ending).size());
    return EndsWithNoCase(stem, ".tar") ? "" : ending;
  }
  return "";
}

}  // namespace

bool HasStreamMethod(const ZipEntry& member) {
  return member.method == 12 || member.method == 93 || member.method == 95;
}

bool HasArchiveExtension(const std::string& name) {
  if (EndsWithNoCase(name, ".7z") || EndsWithNoCase(name, ".rar")) return true;
  for (const char* ending : kTarEndings)
    if (EndsWithNoCase(name, ending)) return true;
  for (const char* ending : kStreamEndings)
    if (EndsWithNoCase(name, ending)) return true;
  return false;
}

// The libarchive handle and the file it reads through the FileSystem, so
// that every byte comes the same way as for the zip reader.
struct ArchiveReader::Reader {
  ~Reader() {
    if (handle) archive_read_free(handle);
  }

  static la_ssize_t Read(struct archive*, void* data, const void** buffer) {
    Reader& reader = *static_cast<Reader*>(data);
    uint64_t left = reader.position < reader.length ? reader.length - reader.position : 0;
    size_t wanted = static_cast<size_t>(std::min<uint64_t>(left, reader.buffer.size()));
    long long count = wanted == 0 ? 0 : reader.file->ReadAt(reader.start + reader.position, reader.buffer.data(), wanted);
    if (count < 0) return ARCHIVE_FATAL;
    reader.position += static_cast<uint64_t>(count);
    *buffer = reader.buffer.data();
    return static_cast<la_ssize_t>(count);
  }

  static la_int64_t Seek(struct archive*, void* data, la_int64_t offset, int whence) {
    Reader& reader = *static_cast<Reader*>(data);
    la_int64_t base = whence == SEEK_SET ? 0
                      : whence == SEEK_CUR ? static_cast<la_int64_t>(reader.position)
                                           : static_cast<la_int64_t>(reader.length);
    if (base + offset < 0) return ARCHIVE_FATAL;
    reader.position = static_cast<uint64_t>(base + offset);
    return static_cast<la_int64_t>(reader.position);
  }

  struct archive* handle = nullptr;
  std::unique_ptr<ReadableFile> file;
  uint64_t start = 0;     // the part of the file read: `length` bytes from `start`
  uint64_t length = 0;
  uint64_t position = 0;  // within that part
  std::vector<uint8_t> buffer = std::vector<uint8_t>(kReadPiece);
  std::string loneName;  // the member's name when the archive is one compressed file, else ""
  uint64_t memberSize = 0;  // of the current member as listed, when known
  bool memberSizeKnown = false;
};

ArchiveReader::ArchiveReader() = default;
ArchiveReader::~ArchiveReader() = default;

// Only formats that hold files are enabled: mtree, for one, names files
// elsewhere on the disk, and an archive must never reach beyond itself.
// Decoders are libarchive's own; none starts an outside program.
static void EnableFormats(struct archive* handle, bool lone) {
  archive_read_support_filter_gzip(handle);
  archive_read_support_filter_bzip2(handle);
  archive_read_support_filter_xz(handle);
  archive_read_support_filter_lzma(handle);
  archive_read_support_filter_zstd(handle);
  if (lone) {
    archive_read_support_format_raw(handle);
    return;
  }
  archive_read_support_format_7zip(handle);
  archive_read_support_format_rar(handle);
  archive_read_support_format_rar5(handle);
  archive_read_support_format_tar(handle);
  archive_read_support_format_zip(handle);
}

bool ArchiveReader::Open(FileSystem& fs, const std::string& path) {
  std::string name = FileNamePart(path);
  std::string ending = StreamEnding(name);
  return OpenPart(fs, path, 0, UINT64_MAX, ending.empty() ? "" : name.substr(0, name.size() - ending.size()));
}

bool ArchiveReader::OpenZipMember(FileSystem& fs, const ZipEntry& member) {
  if (!HasStreamMethod(member)) {
    fault_ = "is not compressed as one stream";
    return false;
  }
  return OpenPart(fs, member.archivePath, member.dataOffset, member.compressedSize, member.storedName);
}

bool ArchiveReader::OpenPart(FileSystem& fs, const std::string& path, uint64_t start, uint64_t length,
                             const std::string& loneName) {
  fault_.clear();
  reader_ = std::make_unique<Reader>();
  reader_->file = fs.OpenForReading(path);
  if (!reader_->file) {
    fault_ = "could not be opened";
    return false;
  }
  reader_->start = std::min(start, reader_->file->Size());
  reader_->length = std::min(length, reader_->file->Size() - reader_->start);
  reader_->loneName = loneName;
  const bool lone = !loneName.empty();
  reader_->handle = archive_read_new();
  EnableFormats(reader_->handle, lone);
  archive_read_set_read_callback(reader_->handle, Reader::Read);
  archive_read_set_seek_callback(reader_->handle, Reader::Seek);
  archive_read_set_callback_data(reader_->handle, reader_.get());
  if (archive_read_open1(reader_->handle) != ARCHIVE_OK) {
    fault_ = FaultOf(reader_->handle, "is no archive Kestrel reads");
    return false;
  }
  // The raw format takes any file; a lone file must at least be compressed.
  if (lone && archive_filter_code(reader_->handle, 0) == ARCHIVE_FILTER_NONE) {
    fault_ = "is not compressed as its name says";
    return false;
  }
  return true;
}

bool ArchiveReader::NextMember(ArchiveMember& member) {
  if (!reader_ || !reader_->handle) return false;
  struct archive_entry* entry = nullptr;
  for (;;) {
    int result = archive_read_next_header(reader_->handle, &entry);
    if (result == ARCHIVE_EOF) return false;
    if (result < ARCHIVE_WARN) {
      fault_ = FaultOf(reader_->handle, "is damaged");
      return false;
    }
    if (archive_entry_filetype(entry) == AE_IFREG) break;
  }
  const char* name = archive_entry_pathname_utf8(entry);
  if (!name) name = archive_entry_pathname(entry);
  member.name = !reader_->loneName.empty() ? reader_->loneName : (name ? name : "");
  member.sizeKnown = archive_entry_size_is_set(entry) != 0 && reader_->loneName.empty();
  member.size = member.sizeKnown ? static_cast<uint64_t>(archive_entry_size(entry)) : 0;
  member.encrypted = archive_entry_is_encrypted(entry) != 0;
  reader_->memberSize = member.size;
  reader_->memberSizeKnown = member.sizeKnown;
  return true;
}

bool ArchiveReader::ReadMember(const std::function<bool(const uint8_t*, size_t)>& take) {
  if (!reader_ || !reader_->handle) return false;
  std::vector<uint8_t> piece(kReadPiece);
  uint64_t total = 0;
  for (;;) {
    la_ssize_t count = archive_read_data(reader_->handle, piece.data(), piece.size());
    if (count == 0) break;
    if (count < 0) {
      fault_ = FaultOf(reader_->handle, "is damaged");
      return false;
    }
    total += static_cast<uint64_t>(count);
    if (total > kLargestArchiveMember) {
      fault_ = "inflates to more than 4 GB";
      return false;
    }
    if (!take(piece.data(), static_cast<size_t>(count))) return false;
  }
  // A member shorter than its listed size lost data on the way.
  if (reader_->memberSizeKnown && total != reader_->memberSize) {
    fault_ = "is damaged: its data end before its listed size";
    return false;
  }
  return true;
}

}  // namespace kestrel
