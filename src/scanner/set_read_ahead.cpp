#include "scanner/set_read_ahead.h"

#include "archive/seven_zip_set.h"

#include <utility>

#include "platform/paths.h"
#include "platform/set_files.h"

namespace kestrel {

SetReadAhead::~SetReadAhead() {
  if (started_.valid()) started_.wait();
}

void SetReadAhead::Start(std::vector<std::string> setPaths) {
  if (started_.valid()) started_.wait();
  started_ = std::async(std::launch::async,
                        [this, paths = std::move(setPaths)] { return ReadBatch(paths); });
}

void SetReadAhead::TakeStarted() {
  if (started_.valid()) current_ = started_.get();
}

const SetReadBefore* SetReadAhead::Find(const std::string& setPath) const {
  if (fs_.ChangeCount() != current_.changeCount) return nullptr;
  auto found = current_.bySetPath.find(setPath);
  return found == current_.bySetPath.end() ? nullptr : &found->second;
}

SetBatch SetReadAhead::ReadBatch(const std::vector<std::string>& setPaths) {
  SetBatch batch;
  batch.changeCount = fs_.ChangeCount();
  folders_.NextRound();
  for (const std::string& setPath : setPaths) {
    // An empty path stands for a set name no set can bear.
    if (setPath.empty() || batch.bySetPath.count(setPath) != 0) continue;
    SetReadBefore& set = batch.bySetPath[setPath];
    std::string folder = FolderPart(setPath);
    set.files = FindSetFiles(folders_, folder, FileNamePart(setPath));
    if (set.files.zip) {
      set.listed = ReadZipDirectory(fs_, folder + set.files.zip->name, set.entries, false, &set.problem, headerCheck_);
    } else if (set.files.sevenZip) {
      // Decoding a 7z is the slow part of reading one: done here, the set's
      // check finds its listing known.
      ZipEntryList known;
      std::string fault;
      ReadSevenZipSet(fs_, folder + set.files.sevenZip->name, known, fault);
    }
  }
  return batch;
}

}  // namespace kestrel
