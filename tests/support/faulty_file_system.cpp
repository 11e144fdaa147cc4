#include "support/faulty_file_system.h"

#include <fnmatch.h>

#include <cerrno>

namespace kestrel::testing {
namespace {

bool Matches(const std::string& pattern, const std::string& path) {
  return fnmatch(pattern.c_str(), path.c_str(), 0) == 0;
}

bool IsChange(FileOperation operation) {
  return operation == FileOperation::kReplace || operation == FileOperation::kRename ||
         operation == FileOperation::kDelete || operation == FileOperation::kRemoveFolder;
}

// Whether a call of `call` counts for a fault or a count of `wanted`.
bool IsOfKind(FileOperation call, FileOperation wanted) {
  return call == wanted || (wanted == FileOperation::kAnyChange && IsChange(call));
}

class FaultyReader : public ReadableFile {
 public:
  FaultyReader(FaultyFileSystem& fs, std::string path, std::unique_ptr<ReadableFile> inner)
      : fs_(fs), path_(std::move(path)), inner_(std::move(inner)) {}

  uint64_t Size() const override { return inner_->Size(); }
  int64_t ModificationTime() const override { return inner_->ModificationTime(); }
  long long ReadAt(uint64_t offset, void* buffer, size_t length) override {
    if (fs_.Fails(FileOperation::kRead, path_)) return -1;
    return inner_->ReadAt(offset, buffer, length);
  }

 private:
  FaultyFileSystem& fs_;
  std::string path_;
  std::unique_ptr<ReadableFile> inner_;
};

class FaultyWriter : public WritableFile {
 public:
  FaultyWriter(FaultyFileSystem& fs, std::string path, std::unique_ptr<WritableFile> inner)
      : fs_(fs), path_(std::move(path)), inner_(std::move(inner)) {}

  bool WriteAt(uint64_t offset, const void* data, size_t length) override {
    if (fs_.Fails(FileOperation::kWrite, path_) || !fs_.Fits(length, path_)) {
      errno = ENOSPC;
      return false;
    }
    return inner_->WriteAt(offset, data, length);
  }
  bool Sync() override { return !fs_.Fails(FileOperation::kSync, path_) && inner_->Sync(); }
  bool Close() override { return inner_->Close(); }

 private:
  FaultyFileSystem& fs_;
  std::string path_;
  std::unique_ptr<WritableFile> inner_;
};

}  // namespace

void FaultyFileSystem::Fail(const Fault& fault) {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_.push_back({fault, 0});
}

void FaultyFileSystem::FillDiskAfter(uint64_t bytes, const std::string& pathPattern) {
  std::lock_guard<std::mutex> lock(mutex_);
  diskLimited_ = true;
  bytesLeft_ = bytes;
  diskPattern_ = pathPattern;
}

void FaultyFileSystem::ReportDiskSpace(DiskSpace space) {
  std::lock_guard<std::mutex> lock(mutex_);
  reportedSpace_ = space;
}

void FaultyFileSystem::Vanish(const std::string& pathPattern) {
  Fail({FileOperation::kLookUp, pathPattern});
  Fail({FileOperation::kOpen, pathPattern});
}

int FaultyFileSystem::FailuresSeen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return failures_;
}

int FaultyFileSystem::CallsSeen(FileOperation operation, const std::string& pathPattern) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int count = 0;
  for (const auto& [call, path] : calls_)
    if (IsOfKind(call, operation) && Matches(pathPattern, path)) ++count;
  return count;
}

bool FaultyFileSystem::Fails(FileOperation operation, std::string_view path) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string spelled(path);
  calls_.emplace_back(operation, spelled);
  bool fails = false;
  for (ArmedFault& armed : faults_) {
    if (!IsOfKind(operation, armed.fault.operation) || !Matches(armed.fault.pathPattern, spelled)) continue;
    int call = ++armed.matchingCalls;
    if (call == armed.fault.nth || (armed.fault.andAfter && call > armed.fault.nth)) fails = true;
  }
  if (fails) {
    ++failures_;
    errno = EIO;
  }
  return fails;
}

bool FaultyFileSystem::Fits(uint64_t length, const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!diskLimited_ || !Matches(diskPattern_, path)) return true;
  if (length > bytesLeft_) {
    bytesLeft_ = 0;
    ++failures_;
    return false;
  }
  bytesLeft_ -= length;
  return true;
}

std::vector<FolderEntry> FaultyFileSystem::ListFolder(std::string_view folder, std::string_view pattern) {
  if (Fails(FileOperation::kList, folder)) return {};
  return inner_.ListFolder(folder, pattern);
}

std::optional<std::string> FaultyFileSystem::FindPath(std::string_view path) {
  if (Fails(FileOperation::kLookUp, path)) return std::nullopt;
  return inner_.FindPath(path);
}

bool FaultyFileSystem::PathExists(std::string_view path) {
  return !Fails(FileOperation::kLookUp, path) && inner_.PathExists(path);
}

bool FaultyFileSystem::FileExists(std::string_view path) {
  return !Fails(FileOperation::kLookUp, path) && inner_.FileExists(path);
}

bool FaultyFileSystem::FolderExists(std::string_view path) {
  return !Fails(FileOperation::kLookUp, path) && inner_.FolderExists(path);
}

std::optional<uint64_t> FaultyFileSystem::FileSize(std::string_view path) {
  if (Fails(FileOperation::kLookUp, path)) return std::nullopt;
  return inner_.FileSize(path);
}

std::unique_ptr<ReadableFile> FaultyFileSystem::OpenForReading(std::string_view path) {
  if (Fails(FileOperation::kOpen, path)) return nullptr;
  std::unique_ptr<ReadableFile> file = inner_.OpenForReading(path);
  if (!file) return nullptr;
  return std::make_unique<FaultyReader>(*this, std::string(path), std::move(file));
}

std::unique_ptr<WritableFile> FaultyFileSystem::CreateNewFile(std::string_view path) {
  if (Fails(FileOperation::kCreate, path)) return nullptr;
  std::unique_ptr<WritableFile> file = inner_.CreateNewFile(path);
  if (!file) return nullptr;
  return std::make_unique<FaultyWriter>(*this, std::string(path), std::move(file));
}

bool FaultyFileSystem::ReplacePath(std::string_view from, std::string_view to) {
  return !Fails(FileOperation::kReplace, from) && inner_.ReplacePath(from, to);
}

bool FaultyFileSystem::RenamePath(std::string_view from, std::string_view to) {
  return !Fails(FileOperation::kRename, from) && inner_.RenamePath(from, to);
}

bool FaultyFileSystem::DeleteFile(std::string_view path) {
  return !Fails(FileOperation::kDelete, path) && inner_.DeleteFile(path);
}

bool FaultyFileSystem::CreateFolder(std::string_view path) {
  return !Fails(FileOperation::kCreateFolder, path) && inner_.CreateFolder(path);
}

bool FaultyFileSystem::RemoveFolder(std::string_view path) {
  return !Fails(FileOperation::kRemoveFolder, path) && inner_.RemoveFolder(path);
}

std::string FaultyFileSystem::CreateUniqueFolder(std::string_view parent) {
  if (Fails(FileOperation::kCreateFolder, parent)) return "";
  return inner_.CreateUniqueFolder(parent);
}

std::optional<DiskSpace> FaultyFileSystem::QueryDiskSpace(std::string_view path) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (reportedSpace_) return reportedSpace_;
  }
  return inner_.QueryDiskSpace(path);
}

}  // namespace kestrel::testing
