// The FileSystem every run is given unless a test hands it another: the
// free functions of file_system.h, and files read and written through
// plain descriptors.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "platform/file_replacement.h"
#include "platform/file_system.h"

namespace kestrel {
namespace {

class DescriptorReader : public ReadableFile {
 public:
  DescriptorReader(int fd, const struct stat& info)
      : fd_(fd), size_(static_cast<uint64_t>(info.st_size)), modified_(info.st_mtime) {}
  ~DescriptorReader() override { ::close(fd_); }

  uint64_t Size() const override { return size_; }
  int64_t ModificationTime() const override { return modified_; }

  long long ReadAt(uint64_t offset, void* buffer, size_t length) override {
    uint8_t* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < length) {
      ssize_t got = ::pread(fd_, out + done, length - done, static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return -1;
      if (got == 0) break;
      done += static_cast<size_t>(got);
    }
    return static_cast<long long>(done);
  }

 private:
  int fd_;
  uint64_t size_;
  int64_t modified_;
};

class DescriptorWriter : public WritableFile {
 public:
  explicit DescriptorWriter(int fd) : fd_(fd) {}
  ~DescriptorWriter() override { Close(); }

  bool WriteAt(uint64_t offset, const void* data, size_t length) override {
    const char* p = static_cast<const char*>(data);
    while (length > 0) {
      ssize_t written = ::pwrite(fd_, p, length, static_cast<off_t>(offset));
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      p += written;
      offset += static_cast<uint64_t>(written);
      length -= static_cast<size_t>(written);
    }
    return true;
  }

  bool Sync() override { return fd_ >= 0 && ::fsync(fd_) == 0; }

  bool Close() override {
    int fd = fd_;
    fd_ = -1;
    return fd >= 0 && ::close(fd) == 0;
  }

 private:
  int fd_;
};

class RealDisk : public FileSystem {
 public:
  std::vector<FolderEntry> ListFolder(std::string_view folder, std::string_view pattern) override {
    return kestrel::ListFolder(folder, pattern);
  }
  std::vector<FolderEntry> ListFolderKinds(std::string_view folder) override { return kestrel::ListFolderKinds(folder); }
  std::optional<std::string> FindPath(std::string_view path) override { return kestrel::FindPath(path); }
  std::optional<bool> IsFolderSpelledAs(std::string_view path) override { return kestrel::IsFolderSpelledAs(path); }
  std::string ResolvePath(std::string_view path) override { return kestrel::ResolvePath(path); }
  bool PathExists(std::string_view path) override { return kestrel::PathExists(path); }
  bool FileExists(std::string_view path) override { return kestrel::FileExists(path); }
  bool FolderExists(std::string_view path) override { return kestrel::FolderExists(path); }
  std::optional<uint64_t> FileSize(std::string_view path) override { return kestrel::FileSize(path); }

  std::unique_ptr<ReadableFile> OpenForReading(std::string_view path) override {
    // A path that exists as spelled (and has no '\\', which FindPath reads
    // as '/') is the one FindPath would answer: taken at once, it costs one
    // `stat` instead of two, and a scan opens every set's zip.
    std::string real(path);
    struct stat info;
    bool asSpelled = real.find('\\') == std::string::npos && ::stat(real.c_str(), &info) == 0;
    if (!asSpelled) {
      real = kestrel::ResolvePath(path);
      if (::stat(real.c_str(), &info) != 0) return nullptr;
    }
    // Checked before opening: opening a pipe for reading would wait for a writer.
    if (!S_ISREG(info.st_mode)) return nullptr;
    int fd = ::open(real.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<DescriptorReader>(fd, info);
  }

  std::unique_ptr<WritableFile> CreateNewFile(std::string_view path) override {
    // 0666 lets the umask decide, as for any new file.
    int fd = Counted(::open(std::string(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666), path);
    if (fd < 0) return nullptr;
    return std::make_unique<DescriptorWriter>(fd);
  }

  bool ReplacePath(std::string_view from, std::string_view to) override {
    return Counted(std::rename(std::string(from).c_str(), std::string(to).c_str()) == 0, from, to);
  }

  bool RenamePath(std::string_view from, std::string_view to) override {
    return Counted(kestrel::RenamePath(from, to), from, to);
  }
  bool DeleteFile(std::string_view path) override {
    return Counted(kestrel::DeleteFile(path), path);
  }
  bool CreateFolder(std::string_view path) override {
    return Counted(kestrel::CreateFolder(path), path);
  }
  bool RemoveFolder(std::string_view path) override {
    return Counted(kestrel::RemoveFolder(path), path);
  }
  std::string CreateUniqueFolder(std::string_view parent) override {
    std::string made = kestrel::CreateUniqueFolder(parent);
    return Counted(made, made);
  }
  bool ClearReadOnly(std::string_view path) override { return kestrel::ClearReadOnly(path); }
  bool IsReadOnly(std::string_view path) override { return kestrel::IsReadOnly(path); }
  bool IsSymbolicLink(std::string_view path) override { return kestrel::IsSymbolicLink(path); }
  bool IsWritableFolder(std::string_view folder) override { return kestrel::IsWritableFolder(folder); }
  std::optional<DiskSpace> QueryDiskSpace(std::string_view path) override { return kestrel::QueryDiskSpace(path); }
  uint64_t ChangeCount() override { return changes_.Count(); }
  std::optional<ChangedPaths> ChangedPathsSince(uint64_t after) override { return changes_.Since(after); }

 private:
  // Counts a change of `path` (and `otherPath`) once it is done (or
  // failed), so that a listing taken while it was under way is brought up
  // to date. Tools write from several threads.
  template <typename Result>
  Result Counted(Result result, std::string_view path, std::string_view otherPath = {}) {
    changes_.Note(path, otherPath);
    return result;
  }

  RecentChanges changes_;
};

}  // namespace

FileSystem& RealFileSystem() {
  static RealDisk disk;
  return disk;
}

std::optional<timespec> FileSystem::FolderModificationTime(std::string_view folder) {
  std::optional<std::string> real = FindPath(folder);
  struct stat info;
  if (!real || ::stat(real->c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  return info.st_mtim;
}

bool FileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists, bool syncToDisk) {
  if (failIfExists && PathExists(to)) return false;
  std::unique_ptr<ReadableFile> source = OpenForReading(from);
  if (!source) return false;
  FileReplacement target(*this);
  if (!target.Create(std::string(to))) return false;
  // Large blocks: a disk image runs to gigabytes.
  std::vector<char> buffer(size_t{4} << 20);
  uint64_t offset = 0;
  long long length = 0;
  while ((length = source->ReadAt(offset, buffer.data(), buffer.size())) > 0) {
    if (!target.Write(buffer.data(), static_cast<size_t>(length))) return false;
    offset += static_cast<uint64_t>(length);
  }
  return length == 0 && offset == source->Size() && target.Close(syncToDisk) && target.Commit();
}

}  // namespace kestrel
