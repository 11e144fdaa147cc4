// What was wrong with a game list, in the order it was found while the list
// was read and validated: damaged text, doubles, references that had to be
// removed. The list is repaired either way; the caller decides how the user
// sees these (the desktop gathers them in one window, the command line
// prints them).
#pragma once

#include <string>
#include <vector>

namespace kestrel {

using ListMessages = std::vector<std::string>;

}  // namespace kestrel
