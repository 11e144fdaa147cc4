#include "archive/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include "platform/file_system.h"

namespace kestrel {
namespace {

constexpr size_t kWindowSize = 16 * 1024;
constexpr size_t kChunk = 256 * 1024;

// pread until `length` bytes or the end of the file.
long long ReadFully(int fd, uint64_t offset, uint8_t* buffer, size_t length) {
  size_t done = 0;
  while (done < length) {
    ssize_t got = ::pread(fd, buffer + done, length - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<long long>(done);
}

}  // namespace

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool InputFile::Open(const std::string& path) {
  std::string real = ResolvePath(path);
  struct stat info;
  // Checked before opening: opening a pipe for reading would wait for a writer.
  if (::stat(real.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  fd_ = ::open(real.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  size_ = static_cast<uint64_t>(info.st_size);
  return true;
}

bool InputFile::FillWindow(uint64_t offset) {
  window_.resize(kWindowSize);
  long long got = ReadFully(fd_, offset, window_.data(), window_.size());
  if (got < 0) {
    windowLength_ = 0;
    return false;
  }
  windowOffset_ = offset;
  windowLength_ = static_cast<size_t>(got);
  return true;
}

long long InputFile::ReadAt(uint64_t offset, void* buffer, size_t length) {
  if (fd_ < 0) return -1;
  uint8_t* out = static_cast<uint8_t*>(buffer);
  if (length >= kWindowSize) return ReadFully(fd_, offset, out, length);
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
