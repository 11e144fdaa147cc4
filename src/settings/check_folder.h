// Tests that a folder exists and gives its text one canonical form.
#pragma once

#include <string>

namespace kestrel {

// True when `path` names an existing folder (found without case). The path
// then becomes that folder as the file system spells it, with a trailing '/'.
// When it is missing, `path` is emptied if `clearIfMissing` is set.
bool CheckFolder(std::string& path, bool clearIfMissing);

}  // namespace kestrel
