// A file a command writes for the user (a fixdat, a report, a datfile):
// checked before the work starts, so that a long run never ends in a file
// it cannot write, and replaced whole at the end.
#pragma once

#include <string>

namespace kestrel {

// False (the reason on standard error, after `option`) when `path` is a
// folder, a read-only file, or lies in a folder that does not exist.
bool CheckOutputFile(const char* option, const std::string& path);

// Replaces the file at `path` with `text` and names it on standard error as
// "WHAT written: PATH"; false (said there too) when it could not be written.
bool WriteOutputFile(const char* what, const std::string& path, const std::string& text);

}  // namespace kestrel
