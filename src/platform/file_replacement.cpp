#include "platform/file_replacement.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>

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
  if (file_) file_->Close();
  if (!temporary_.empty()) fs_.DeleteFile(temporary_);
}

bool FileReplacement::Create(const std::string& destinationPath) {
  destination_ = fs_.ResolvePath(destinationPath);
  std::string folder = FolderPart(destination_);
  // A name left by an earlier process of the same number is passed over for
  // the next one; any other failure (a missing or read-only folder) would
  // only repeat.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = TemporaryName(folder);
    file_ = fs_.CreateNewFile(name);
    if (!file_ && errno == EEXIST) continue;
    if (!file_) return false;
    temporary_ = name;
    written_ = 0;
    return true;
  }
  return false;
}

bool FileReplacement::Write(const void* data, size_t length) {
  if (!file_ || !file_->WriteAt(written_, data, length)) return false;
  written_ += length;
  return true;
}

bool FileReplacement::Close(bool syncToDisk) {
  std::unique_ptr<WritableFile> file = std::move(file_);
  if (!file) return false;
  bool synced = !syncToDisk || file->Sync();
  return file->Close() && synced;
}

bool FileReplacement::Commit() {
  if (file_ || temporary_.empty()) return false;
  if (!fs_.ReplacePath(temporary_, destination_)) return false;
  temporary_.clear();
  return true;
}

bool ReplaceFile(FileSystem& fs, const std::string& path, std::string_view bytes, bool syncToDisk) {
  FileReplacement file(fs);
  return file.Create(path) && file.Write(bytes.data(), bytes.size()) && file.Close(syncToDisk) &&
         file.Commit();
}

bool ReplaceFile(const std::string& path, std::string_view bytes, bool syncToDisk) {
  return ReplaceFile(RealFileSystem(), path, bytes, syncToDisk);
}

}  // namespace kestrel
