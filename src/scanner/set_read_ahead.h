// Reading the zip directories of the next games on a second core while the
// scan checks the current ones.
//
// The scan checks one game after the other, and most of its time went into
// opening and reading small zips. The games are taken in batches: while
// the checks work through one batch, one background thread lists the zips
// of the next. The checks still run one at a time in list order, and a
// directory read ahead is only a copy of what the check would have read
// itself a moment later, so the findings and their order are unchanged.
// Where each set lies is looked up ahead too, in the scan's own folder
// index, so that a ROM path is listed once for both threads; each batch
// starts a new round of the index (FolderIndex::NextRound), so what other
// programs change in a folder is seen from the next batch on. What was read
// ahead is trusted only while nothing has been changed through the scan's
// file system since its batch began (a repair, a stand-in): after that the
// check looks the set up and reads its zip itself, as before.
#pragma once

#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "archive/zip_entry.h"
#include "archive/zip_problem.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/folder_index.h"
#include "platform/set_files.h"

namespace kestrel {

// One set as looked up and read ahead.
struct SetReadBefore {
  SetFiles files;       // as FindSetFiles found them
  bool listed = false;  // with a zip: ReadZipDirectory's answer, the whole directory was read
  ZipEntryList entries;
  ZipProblem problem;  // the structural fault, when `listed` is false because of one
};

// The sets of one batch, by set path as asked for.
struct SetBatch {
  uint64_t changeCount = 0;  // the file system's change count before the first lookup
  std::unordered_map<std::string, SetReadBefore> bySetPath;
};

class SetReadAhead {
 public:
  // Looks sets up in `folders`, which the scan shares: it must outlive this.
  SetReadAhead(FileSystem& fs, ZipHeaderCheck headerCheck, FolderIndex& folders)
      : fs_(fs), headerCheck_(headerCheck), folders_(folders) {}
  // Waits for the batch being read: its thread uses the file system.
  ~SetReadAhead();

  // Starts listing, in the background, the zips of the sets `setPaths`
  // (each a ROM or sample path and a set name, without ".zip"; missing
  // sets and folders are passed over). Waits for the batch started before,
  // if it was never taken.
  void Start(std::vector<std::string> setPaths);
  // Waits for the batch started last and makes it the one Find answers from.
  void TakeStarted();

  // The set `setPath` as read ahead, or null when it was not read ahead
  // or the file system has changed since.
  const SetReadBefore* Find(const std::string& setPath) const;

 private:
  SetBatch ReadBatch(const std::vector<std::string>& setPaths);

  FileSystem& fs_;
  ZipHeaderCheck headerCheck_;
  FolderIndex& folders_;
  std::future<SetBatch> started_;
  SetBatch current_;
};

}  // namespace kestrel
