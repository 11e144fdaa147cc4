// Reading and hashing the next sources of a folder on the other cores while
// the walk matches and places the current one.
//
// The walk takes a folder's sources one at a time, in listing order, and
// most of its time went into reading them: the CRC-32 of every loose file,
// the directory of every zip and, in zip mode, the decoding of every member
// to prove it whole. Those answers depend on the source's bytes alone, and
// the walk changes no source (sources are removed only after the walk, and
// an unfinished zip write met among them is no source), so two background
// threads work them out a few sources ahead. The walk still decides and
// logs everything itself, in the same order, so the run's outcome is the
// same as when it read each source at the moment it needed it.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "archive/zip_entry.h"
#include "archive/zip_problem.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"

namespace kestrel {

// What was found out about one source ahead of the walk.
struct SourceReadBefore {
  enum class Kind {
    kNothing,    // not read ahead: a disk, another archive or a folder, which the walk reads itself
    kLooseFile,  // a file without a zip's name: `readable`, `size` and `crc` as ReadFileCrc gave them
    kZip,        // a file with a zip's name: `isZip`, `members` and `problem` as ReadZipDirectory gave them
  };
  Kind kind = Kind::kNothing;
  bool readable = false;
  uint32_t size = 0;
  uint32_t crc = 0;
  bool isZip = false;
  ZipEntryList members;
  ZipProblem problem;
  // Per member, with member checks on: whether it decodes to its listed
  // size and CRC-32 (CheckZipEntry); false for members the walk never
  // decodes (encrypted ones, other methods).
  std::vector<bool> decodes;
};

// The sources of one folder listing, read ahead in order.
class SourceReadAhead {
 public:
  // Starts reading `paths` (the folder's entries in listing order, "" for
  // an entry that is not to be read, such as a folder). With `checkMembers`
  // every member of a zip read and deflate is decoded too.
  SourceReadAhead(FileSystem& fs, std::vector<std::string> paths, ZipHeaderCheck headerCheck, bool checkMembers);
  // Stops the threads: what they have not read is never read.
  ~SourceReadAhead();
  SourceReadAhead(const SourceReadAhead&) = delete;
  SourceReadAhead& operator=(const SourceReadAhead&) = delete;

  // Waits until the source at `index` of the listing is read and hands
  // over what was found out; lets the threads go on to the sources after
  // it. Each index is taken at most once, in rising order.
  SourceReadBefore Take(size_t index);

 private:
  void Work();
  SourceReadBefore Read(const std::string& path) const;

  FileSystem& fs_;
  const std::vector<std::string> paths_;
  const ZipHeaderCheck headerCheck_;
  const bool checkMembers_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<SourceReadBefore> results_;  // by index, valid where done_ is set
  std::vector<bool> done_;
  size_t nextToClaim_ = 0;  // the next index a thread starts on
  size_t taken_ = 0;        // indexes below this were handed over
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace kestrel
