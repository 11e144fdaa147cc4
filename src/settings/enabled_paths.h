// The folders of a path list that the tools search.
#pragma once

#include <string>
#include <vector>

#include "settings/settings_record.h"

namespace kestrel {

// The enabled entries of `list` in its order, each ending with '/'. An
// entry without text names no folder and is left out.
std::vector<std::string> EnabledPaths(const PathList& list);

}  // namespace kestrel
