#include <zlib.h>

#include <functional>
#include <memory>
#include <new>

#include "archive/crc32.h"
#include "platform/file_replacement.h"
#include "archive/input_file.h"
#include "archive/zip_reader.h"

namespace kestrel {
namespace {

constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
// Members are streamed through these, so a member of any size (or one that
// lies about its size) costs the same memory.
constexpr size_t kInputChunk = 256 * 1024;
constexpr size_t kOutputChunk = 1024 * 1024;

// Where a member's contents go: the CRC is kept over everything written.
// Without a file the contents are only summed.
struct MemberSink {
  FileReplacement* file = nullptr;
  const std::function<bool(const uint8_t*, size_t)>* reader = nullptr;  // also takes the contents
  uint32_t crc = 0;
  uint64_t length = 0;
  bool writeFailed = false;

  bool Take(const uint8_t* data, size_t count) {
    crc = Crc32(crc, data, count);
    length += count;
    if (file != nullptr && !file->Write(data, count)) writeFailed = true;
    return !writeFailed && (reader == nullptr || (*reader)(data, count));
  }
};

std::unique_ptr<uint8_t[]> AllocateChunk(size_t size) {
  return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size]);
}

bool CopyStored(InputFile& file, const ZipEntry& entry, MemberSink& sink) {
  // A stored member holds its contents as they are, so both sizes must agree;
  // anything else would mean reading past the member's data.
  if (entry.compressedSize != entry.size) return false;
  return file.ReadChunks(entry.dataOffset, entry.size,
                         [&sink](const uint8_t* data, size_t count) { return sink.Take(data, count); });
}

// Inflates the member's data into the sink. The stream must end exactly at
// the end of the data and yield exactly the declared size; decoding stops as
// soon as it yields more.
bool InflateMember(InputFile& file, const ZipEntry& entry, MemberSink& sink) {
  std::unique_ptr<uint8_t[]> input = AllocateChunk(kInputChunk);
  std::unique_ptr<uint8_t[]> output = AllocateChunk(kOutputChunk);
  if (!input || !output) return false;
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  uint64_t offset = entry.dataOffset;
  uint64_t remaining = entry.compressedSize;
  int result = Z_OK;
  bool failed = false;
  while (result != Z_STREAM_END && !failed) {
    // With all input taken, output may still be pending (the tail of the
    // last match); inflate is called once more and reports an error when
    // it can make no progress.
    if (stream.avail_in == 0 && remaining > 0) {
      size_t count = remaining < kInputChunk ? static_cast<size_t>(remaining) : kInputChunk;
      if (file.ReadAt(offset, input.get(), count) != static_cast<long long>(count)) break;
      offset += count;
      remaining -= count;
      stream.next_in = input.get();
      stream.avail_in = static_cast<uInt>(count);
    }
    stream.next_out = output.get();
    stream.avail_out = static_cast<uInt>(kOutputChunk);
    // Room is always offered, so every call makes progress or reports an
    // error (a call that can do nothing fails): the loop cannot stall.
    result = inflate(&stream, Z_NO_FLUSH);
    size_t produced = kOutputChunk - stream.avail_out;
    failed = (result != Z_OK && result != Z_STREAM_END) || stream.total_out > entry.size ||
             !sink.Take(output.get(), produced);
  }
  bool whole = !failed && result == Z_STREAM_END && remaining == 0 && stream.avail_in == 0 &&
               stream.total_out == entry.size;
  inflateEnd(&stream);
  return whole;
}

// Opens the member's archive; false when the member's data do not lie
// inside it or its method is not understood (described in `problem`).
bool OpenMember(FileSystem& fs, const ZipEntry& entry, InputFile& file, ZipProblem* problem) {
  if (problem != nullptr) *problem = ZipProblem{};
  if (!file.Open(fs, entry.archivePath)) return false;
  // The member's data must lie inside the file before anything else is
  // looked at, whatever sizes the header claims.
  if (uint64_t(entry.dataOffset) + entry.compressedSize > file.size()) return false;
  if (entry.method != kMethodStored && entry.method != kMethodDeflated) {
    if (problem != nullptr) *problem = {ZipFault::kUnsupportedMethod, entry.archivePath};
    return false;
  }
  return true;
}

bool DecodeMember(InputFile& file, const ZipEntry& entry, MemberSink& sink) {
  return entry.method == kMethodStored ? CopyStored(file, entry, sink) : InflateMember(file, entry, sink);
}

}  // namespace

bool CheckZipEntry(FileSystem& fs, const ZipEntry& entry, ZipProblem* problem) {
  InputFile file;
  if (!OpenMember(fs, entry, file, problem)) return false;
  MemberSink sink;
  return DecodeMember(file, entry, sink) && sink.length == entry.size && sink.crc == entry.crc;
}

bool ReadZipEntry(FileSystem& fs, const ZipEntry& entry, const std::function<bool(const uint8_t*, size_t)>& take) {
  InputFile file;
  if (!OpenMember(fs, entry, file, nullptr)) return false;
  MemberSink sink;
  sink.reader = &take;
  return DecodeMember(file, entry, sink) && sink.length == entry.size && sink.crc == entry.crc;
}

bool ExtractZipEntry(FileSystem& fs, const ZipEntry& entry, const std::string& destinationPath, int* writeFailed,
                     ZipProblem* problem) {
  InputFile file;
  if (!OpenMember(fs, entry, file, problem)) return false;

  FileReplacement output(fs);
  if (!output.Create(destinationPath)) return false;
  MemberSink sink;
  sink.file = &output;
  bool decoded = DecodeMember(file, entry, sink);
  if (!sink.writeFailed && decoded && !output.Close()) sink.writeFailed = true;
  if (sink.writeFailed) {
    if (writeFailed != nullptr) *writeFailed = 1;
    return false;
  }
  if (!decoded || sink.length != entry.size || sink.crc != entry.crc) return false;
  return output.Commit();
}

}  // namespace kestrel
