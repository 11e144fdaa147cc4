#include "archive/zip_file_source.h"

#include <cerrno>
#include <memory>
#include <random>

#include "platform/paths.h"

namespace kestrel {
namespace {

// Everything one source holds between libzip's calls.
struct FileSource {
  FileSource(FileSystem& disk, std::string file) : fs(disk), path(std::move(file)) {}

  FileSystem& fs;
  std::string path;
  zip_error_t error{};
  std::unique_ptr<ReadableFile> reader;
  uint64_t readPosition = 0;
  std::unique_ptr<WritableFile> writer;
  std::string temporary;  // the file being written, while `writer` lives
  uint64_t writePosition = 0;
  uint64_t writeEnd = 0;
};

zip_int64_t Fail(FileSource& source, int zipError, int systemError) {
  zip_error_set(&source.error, zipError, systemError);
  return -1;
}

// A fresh name for the new archive: the archive's own name, a dot and six
// letters or digits, as interrupted_write.h recognises.
std::string TemporaryNameFor(const std::string& archive) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  // One generator per thread: the rebuilder writes two zips at once.
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
  std::string name = archive + ".";
  for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
  return name;
}

zip_int64_t BeginWrite(FileSource& source) {
  // Only a name taken already is worth another try.
  for (int attempt = 0; attempt < 100 && !source.writer; ++attempt) {
    source.temporary = TemporaryNameFor(source.path);
    source.writer = source.fs.CreateNewFile(source.temporary);
    if (!source.writer && errno != EEXIST) break;
  }
  if (!source.writer) return Fail(source, ZIP_ER_TMPOPEN, EIO);
  source.writePosition = 0;
  source.writeEnd = 0;
  return 0;
}

void DropTemporary(FileSource& source) {
  if (source.writer) source.writer->Close();
  source.writer.reset();
  if (!source.temporary.empty()) source.fs.DeleteFile(source.temporary);
  source.temporary.clear();
}

// The new archive reaches the disk before it takes the old one's place, so
// a crash cannot leave an empty file where the archive was.
zip_int64_t CommitWrite(FileSource& source) {
  bool written = source.writer->Sync();
  written = source.writer->Close() && written;
  source.writer.reset();
  if (!written || !source.fs.ReplacePath(source.temporary, source.path)) {
    DropTemporary(source);
    return Fail(source, ZIP_ER_RENAME, EIO);
  }
  source.temporary.clear();
  source.reader.reset();
  return 0;
}

zip_int64_t Write(FileSource& source, const void* data, zip_uint64_t length) {
  if (!source.writer->WriteAt(source.writePosition, data, length)) return Fail(source, ZIP_ER_WRITE, ENOSPC);
  source.writePosition += length;
  if (source.writePosition > source.writeEnd) source.writeEnd = source.writePosition;
  return zip_int64_t(length);
}

zip_int64_t SeekWrite(FileSource& source, void* data, zip_uint64_t length) {
  zip_int64_t position =
      zip_source_seek_compute_offset(source.writePosition, source.writeEnd, data, length, &source.error);
  if (position < 0) return -1;
  source.writePosition = zip_uint64_t(position);
  return 0;
}

zip_int64_t Open(FileSource& source) {
  if (!source.reader) source.reader = source.fs.OpenForReading(source.path);
  if (!source.reader) return Fail(source, ZIP_ER_OPEN, ENOENT);
  source.readPosition = 0;
  return 0;
}

zip_int64_t Read(FileSource& source, void* data, zip_uint64_t length) {
  long long got = source.reader->ReadAt(source.readPosition, data, length);
  if (got < 0) return Fail(source, ZIP_ER_READ, EIO);
  source.readPosition += zip_uint64_t(got);
  return got;
}

zip_int64_t Seek(FileSource& source, void* data, zip_uint64_t length) {
  zip_int64_t position =
      zip_source_seek_compute_offset(source.readPosition, source.reader->Size(), data, length, &source.error);
  if (position < 0) return -1;
  source.readPosition = zip_uint64_t(position);
  return 0;
}

// libzip takes a read error with ENOENT from the archive's stat as "no
// archive yet", which ZIP_CREATE then makes. An added file is looked at
// for its time too, which its member keeps; it is closed again, as a
// backup may add thousands of files to one archive.
zip_int64_t Stat(FileSource& source, void* data, bool writable) {
  std::unique_ptr<ReadableFile> looked;
  if (!writable && !source.reader) looked = source.fs.OpenForReading(source.path);
  const ReadableFile* file = source.reader ? source.reader.get() : looked.get();
  std::optional<uint64_t> size = file ? std::optional<uint64_t>(file->Size()) : source.fs.FileSize(source.path);
  if (!size) return Fail(source, ZIP_ER_READ, ENOENT);
  zip_stat_t* stat = static_cast<zip_stat_t*>(data);
  zip_stat_init(stat);
  stat->size = *size;
  stat->valid |= ZIP_STAT_SIZE;
  if (!writable && file) {
    stat->mtime = static_cast<time_t>(file->ModificationTime());
    stat->valid |= ZIP_STAT_MTIME;
  }
  return sizeof(zip_stat_t);
}

zip_int64_t Serve(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command, bool writable) {
  FileSource& source = *static_cast<FileSource*>(state);
  switch (command) {
    case ZIP_SOURCE_OPEN:
      return Open(source);
    case ZIP_SOURCE_READ:
      return Read(source, data, length);
    case ZIP_SOURCE_CLOSE:
      source.reader.reset();
      return 0;
    case ZIP_SOURCE_SEEK:
      return Seek(source, data, length);
    case ZIP_SOURCE_TELL:
      return zip_int64_t(source.readPosition);
    case ZIP_SOURCE_STAT:
      return Stat(source, data, writable);
    case ZIP_SOURCE_ERROR:
      return zip_error_to_data(&source.error, data, length);
    case ZIP_SOURCE_BEGIN_WRITE:
      return BeginWrite(source);
    case ZIP_SOURCE_WRITE:
      return Write(source, data, length);
    case ZIP_SOURCE_SEEK_WRITE:
      return SeekWrite(source, data, length);
    case ZIP_SOURCE_TELL_WRITE:
      return zip_int64_t(source.writePosition);
    case ZIP_SOURCE_COMMIT_WRITE:
      return CommitWrite(source);
    case ZIP_SOURCE_ROLLBACK_WRITE:
      DropTemporary(source);
      return 0;
    case ZIP_SOURCE_REMOVE:
      source.reader.reset();
      return source.fs.DeleteFile(source.path) ? 0 : Fail(source, ZIP_ER_REMOVE, EIO);
    case ZIP_SOURCE_FREE:
      DropTemporary(source);
      zip_error_fini(&source.error);
      delete &source;
      return 0;
    case ZIP_SOURCE_SUPPORTS:
      if (!writable) {
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                                              ZIP_SOURCE_SUPPORTS, -1);
      }
      return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                            ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                                            ZIP_SOURCE_SUPPORTS, ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_WRITE,
                                            ZIP_SOURCE_SEEK_WRITE, ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_COMMIT_WRITE,
                                            ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_REMOVE, -1);
    default:
      return Fail(source, ZIP_ER_OPNOTSUPP, 0);
  }
}

zip_int64_t ServeArchive(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
  return Serve(state, data, length, command, true);
}

zip_int64_t ServeAddedFile(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
  return Serve(state, data, length, command, false);
}

}  // namespace

zip_source_t* ArchiveSource(FileSystem& fs, const std::string& path, zip_error_t* error) {
  FileSource* state = new FileSource(fs, path);
  zip_error_init(&state->error);
  zip_source_t* source = zip_source_function_create(ServeArchive, state, error);
  if (source == nullptr) delete state;
  return source;
}

zip_source_t* AddedFileSource(zip_t* archive, FileSystem& fs, const std::string& path) {
  FileSource* state = new FileSource(fs, path);
  zip_error_init(&state->error);
  zip_source_t* source = zip_source_function(archive, ServeAddedFile, state);
  if (source == nullptr) delete state;
  return source;
}

}  // namespace kestrel
