// Reverting a run: its journal replayed from the last change to the first,
// each content checked before it is moved. Nothing is destroyed: what the
// run made is moved into its store, and a file changed since the run is
// set aside there too (and named) before the old content goes back.
// The state on disk decides each step, so a run stopped halfway (a change
// journaled but never made) is reverted as well as a whole one.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kestrel {

struct UndoProblem {
  std::string path;
  std::string reason;
};

struct UndoOutcome {
  bool refused = false;           // no journal could be read at the run folder
  std::string refusal;            // why, when refused
  std::vector<std::string> done;  // one line per step taken, as "restored PATH"
  // Files changed since the run: their content now is kept in the store.
  std::vector<UndoProblem> setAside;
  // Steps that could not be taken; what they concern stays as it is.
  std::vector<UndoProblem> failures;
};

// Reverts the run whose folder (journal and store) is `runFolder`, then
// marks its journal as undone.
UndoOutcome UndoRun(FileSystem& fs, const std::string& runFolder);

}  // namespace kestrel
