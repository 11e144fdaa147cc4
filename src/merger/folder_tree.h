// Removing a folder with everything in it.
#pragma once

#include <string>

namespace kestrel {

// Removes the folder `path` (found without case) and all it holds. A
// symbolic link inside is removed as a link; what it points to stays.
// True when the folder is gone afterwards (also when it never existed).
bool RemoveFolderTree(const std::string& path);

}  // namespace kestrel
