// MAME's software lists on the command line: a command given lists runs
// once per list, with that list as its data and the list's folder in each
// of its paths (settings/software_lists.h holds the rules).
#pragma once

#include <functional>
#include <string>

#include "cli/data_options.h"

namespace kestrel {

// Runs `run` once per software list that `options` name (each
// --software-list file, then every list in --hash-path, by file name; with
// neither, nor another data source, those of a --profile whose data source
// is software lists),
// printing "Software list: NAME" before each run's output. Each run gets the
// options with the list as its datfile, the list's name as `listFolder` and
// a data folder of its own, so that each list keeps its own data cache.
// Without lists, runs once with the options as they are. The exit status is
// the worst of the runs; a list none of whose items names a file is
// skipped, said so on standard output; kExitRefused, with the reason on standard error,
// when a file named is no software list, the hash path holds none, or a
// game list is named as well.
int RunPerSoftwareList(const DataOptions& options, const std::function<int(const DataOptions&)>& run);

}  // namespace kestrel
