#include "platform/file_replacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

// A short name of our own: the destination's name may already be as long
// as the file system allows.
std::string TemporaryName(const std::string& folder) {
  static std::atomic<unsigned> counter{0};
  return folder + ".kestrel-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

}  // namespace

FileReplacement::~FileReplacement() {
  if (fd_ >= 0) ::close(fd_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

bool FileReplacement::Create(const std::string& destinationPath) {
  destination_ = ResolvePath(destinationPath);
  std::string folder = FolderPart(destination_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = TemporaryName(folder);
    // 0666 lets the umask decide, as for any new file.
    fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temporary_ = name;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool FileReplacement::Write(const void* data, size_t length) {
  const char* p = static_cast<const char*>(data);
  while (length > 0) {
    ssize_t written = ::write(fd_, p, length);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    p += written;
    length -= static_cast<size_t>(written);
  }
  return true;
}

bool FileReplacement::Close(bool syncToDisk) {
  int fd = fd_;
  fd_ = -1;
  if (fd < 0) return false;
  bool synced = !syncToDisk || ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

bool FileReplacement::Commit() {
  if (fd_ >= 0 || temporary_.empty()) return false;
  if (std::rename(temporary_.c_str(), destination_.c_str()) != 0) return false;
  temporary_.clear();
  return true;
}

bool ReplaceFile(const std::string& path, std::string_view bytes, bool syncToDisk) {
  FileReplacement file;
  return file.Create(path) && file.Write(bytes.data(), bytes.size()) && file.Close(syncToDisk) &&
         file.Commit();
}

}  // namespace kestrel
