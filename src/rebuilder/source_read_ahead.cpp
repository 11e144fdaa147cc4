#include "rebuilder/source_read_ahead.h"

#include <utility>

#include "archive/archive_reader.h"
#include "archive/chd_transfer.h"
#include "archive/member_data.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

// Two readers keep both cores busy hashing while the walk, which mostly
// waits for them, places; more would only fight over the disk.
constexpr size_t kReaders = 2;
// How far the readers may run ahead of the walk: enough to keep them busy
// through a slow placement, few enough that a cancelled run wastes little.
constexpr size_t kAhead = 8;

}  // namespace

SourceReadAhead::SourceReadAhead(FileSystem& fs, std::vector<std::string> paths, ZipHeaderCheck headerCheck,
                                 bool checkMembers)
    : fs_(fs), paths_(std::move(paths)), headerCheck_(headerCheck), checkMembers_(checkMembers) {
  results_.resize(paths_.size());
  done_.assign(paths_.size(), false);
  for (size_t i = 0; i < kReaders && i < paths_.size(); ++i) threads_.emplace_back([this] { Work(); });
}

SourceReadAhead::~SourceReadAhead() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

SourceReadBefore SourceReadAhead::Take(size_t index) {
  std::unique_lock<std::mutex> lock(mutex_);
  taken_ = index + 1;
  changed_.notify_all();
  changed_.wait(lock, [&] { return done_[index]; });
  return std::move(results_[index]);
}

void SourceReadAhead::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return stopping_ || nextToClaim_ >= paths_.size() || nextToClaim_ < taken_ + kAhead; });
    if (stopping_ || nextToClaim_ >= paths_.size()) return;
    size_t index = nextToClaim_++;
    lock.unlock();
    SourceReadBefore result = Read(paths_[index]);
    lock.lock();
    results_[index] = std::move(result);
    done_[index] = true;
    changed_.notify_all();
  }
}

// The same calls the walk makes, in the same way: a zip that does not read
// as one is left to the walk, which looks at it as a loose file.
SourceReadBefore SourceReadAhead::Read(const std::string& path) const {
  SourceReadBefore result;
  const std::string name = FileNamePart(path);
  if (path.empty() || HasChdExtension(name)) return result;
  if (HasZipExtension(path)) {
    result.kind = SourceReadBefore::Kind::kZip;
    result.isZip = ReadZipDirectory(fs_, path, result.members, true, &result.problem, headerCheck_);
    if (!result.isZip || !checkMembers_) return result;
    result.decodes.assign(result.members.size(), false);
    for (size_t i = 0; i < result.members.size(); ++i) {
      const ZipEntry& member = result.members[i];
      if (!IsEncryptedMember(member) && IsZipReaderMethod(member)) result.decodes[i] = CheckZipEntry(fs_, member);
    }
    return result;
  }
  if (HasArchiveExtension(name)) return result;
  result.kind = SourceReadBefore::Kind::kLooseFile;
  result.readable = ReadFileCrc(fs_, path, result.size, result.crc);
  return result;
}

}  // namespace kestrel
