// "kestrel-cli history [RUN]": the runs on record in the data folder, one
// line each with its counts of changes; with a run's id, its changes one
// per line, as a dry run lists them.
#pragma once

#include <string>

#include "cli/data_options.h"

namespace CLI {
class App;
}

namespace kestrel {

struct HistoryOptions {
  DataOptions data;  // only --data-folder
  std::string run;   // "" lists every run
};

void AddHistoryOptions(CLI::App& command, HistoryOptions& options);

// kExitRefused for a run that is not on record.
int RunHistoryCommand(const HistoryOptions& options);

}  // namespace kestrel
