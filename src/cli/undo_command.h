// "kestrel-cli undo [RUN]": reverts a run (the last one not undone by
// default) from its journal in the data folder, and names every file it
// could not put back and every change since the run it set aside.
#pragma once

#include <string>

#include "cli/data_options.h"

namespace CLI {
class App;
}

namespace kestrel {

struct UndoOptions {
  DataOptions data;  // only --data-folder
  std::string run;   // a run's id as `history` lists it; "" for the last
};

void AddUndoOptions(CLI::App& command, UndoOptions& options);

// kExitDone when everything was put back, kExitFindings when a file could
// not be or a change since the run was set aside, kExitRefused when there
// is no such run or it was undone already.
int RunUndoCommand(const UndoOptions& options);

}  // namespace kestrel
