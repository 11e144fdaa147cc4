#include "archive/input_file.h"

#include <algorithm>
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

bool InputFile::ReadTail(size_t length) {
  if (!file_) return false;
  size_t count = size_ < length ? static_cast<size_t>(size_) : length;
  tail_.resize(count);
  tailOffset_ = size_ - count;
  long long got = count == 0 ? 0 : file_->ReadAt(tailOffset_, tail_.data(), count);
  if (got < 0) {
    tail_.clear();
    return false;
  }
  tail_.resize(static_cast<size_t>(got));  // the file shrank since it was opened
  return true;
}

long long InputFile::CopyFromTail(uint64_t offset, uint8_t* out, size_t length) const {
  if (tail_.empty() || offset < tailOffset_) return -1;
  uint64_t start = offset - tailOffset_;
  if (start > tail_.size()) return -1;
  size_t count = std::min(length, tail_.size() - static_cast<size_t>(start));
  if (count > 0) std::memcpy(out, tail_.data() + start, count);
  return static_cast<long long>(count);
}

bool InputFile::FillWindow(uint64_t offset) {
  window_.resize(kWindowSize);
  size_t length = offset < size_ ? static_cast<size_t>(std::min<uint64_t>(kWindowSize, size_ - offset)) : 0;
  long long got = length == 0 ? 0 : file_->ReadAt(offset, window_.data(), length);
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
  if (long long copied = CopyFromTail(offset, out, length); copied >= 0) return copied;
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
