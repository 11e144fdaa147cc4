// The desktop program's tools keep the same undo journal as the command
// line's: every change a scan's fixes, a rebuild or a merge makes goes
// through a JournaledFileSystem into the data folder, so that "Undo Last
// Run" can take the run back.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "undo/journaled_file_system.h"

namespace kestrel {

// Runs `work` with the files it reaches journaled as a run of `command` in
// `dataFolder`'s undo folder; with no data folder (windows made for a test)
// on the disk itself.
template <class Work>
auto RunJournaled(const std::string& dataFolder, const std::string& command, Work work) {
  if (dataFolder.empty()) return work(RealFileSystem());
  JournaledFileSystem journal(RealFileSystem(), UndoFolder(dataFolder), command);
  auto result = work(static_cast<FileSystem&>(journal));
  journal.Finish();
  return result;
}

}  // namespace kestrel
