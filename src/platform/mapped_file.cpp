#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "platform/file_system.h"

namespace kestrel {

MappedFile::~MappedFile() { Close(); }

bool MappedFile::Open(const std::string& path) {
  Close();
  std::optional<std::string> real = FindPath(path);
  if (!real) return false;
  int fd = ::open(real->c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (ok && info.st_size > 0) {
    void* address = ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    ok = address != MAP_FAILED;
    if (ok) {
      data_ = static_cast<const uint8_t*>(address);
      size_ = static_cast<size_t>(info.st_size);
      mapped_ = true;
    }
  }
  ::close(fd);
  return ok;
}

void MappedFile::Close() {
  if (mapped_) ::munmap(const_cast<uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
  mapped_ = false;
}

}  // namespace kestrel
