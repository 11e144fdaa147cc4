#include "archive/input_file.h"

#include <cstring>
#include <memory>
#include <new>

namespace kestrel {
namespace {

constexpr size_t kWindowSize = 16 * 1024;
constexpr size_t kChunk = 256 * 1024;

}  // namespace

bool InputFile::Open(FileSystem& fs, const std::string& path) {
  file_ = fs.OpenForReading(path);
  if (!file_) return false;
  size_ = file_->Size();
  return true;
}

bool InputFile::FillWindow(uint64_t offset) {
  window_.resize(kWindowSize);
  long long got = file_->ReadAt(offset, window_.data(), window_.size());
  if (got < 0) {
    windowLength_ = 0;
    return false;
  }
  windowOffset_ = offset;
  windowLength_ = static_cast<size_t>(got);
  return true;
}

long long InputFile::ReadAt(uint64_t offset, void* buffer, size_t length) {
  if (!file_) return -1;
  uint8_t* out = static_cast<uint8_t*>(buffer);
  if (length >= kWindowSize) return file_->ReadAt(offset, out, length);
  bool inWindow = offset >= windowOffset_ && offset - windowOffset_ + length <= windowLength_;
  if (!inWindow && !FillWindow(offset)) return -1;
  uint64_t start = offset - windowOffset_;
  size_t available = start < windowLength_ ? windowLength_ - static_cast<size_t>(start) : 0;
  size_t count = length < available ? length : available;
  if (count > 0) std::memcpy(out, window_.data() + start, count);
  return static_cast<long long>(count);
}

bool InputFile::ReadChunks(uint64_t offset, uint64_t length,
                           const std::function<bool(const uint8_t*, size_t)>& take) {
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kChunk]);
  if (!buffer) return false;
  while (length > 0) {
    size_t count = length < kChunk ? static_cast<size_t>(length) : kChunk;
    if (ReadAt(offset, buffer.get(), count) != static_cast<long long>(count)) return false;
    if (!take(buffer.get(), count)) return false;
    offset += count;
    length -= count;
  }
  return true;
}

}  // namespace kestrel
