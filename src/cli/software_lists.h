// MAME's software lists as game data: each list is a game list of its own
// whose sets MAME looks for under a folder of the list's name in every ROM
// path (ROMPATH/a2600/adventp.zip). A command given lists runs once per
// list, with that list as its data and that folder in each of its paths.
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

// `file` with the list's name before its extension ("fix.dat" becomes
// "fix.a2600.dat"), so that the runs over several lists each write their
// own; `file` itself when `listFolder` or `file` is empty.
std::string WithListName(const std::string& file, const std::string& listFolder);

// `folder` with the list's folder in it, made when `folder` exists and
// it does not; `folder` itself when `listFolder` is empty.
std::string InListFolder(const std::string& folder, const std::string& listFolder);

}  // namespace kestrel
