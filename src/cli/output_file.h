// A file a command writes for the user (a fixdat, a report, a datfile):
// checked before the work starts, so that a long run never ends in a file
// it cannot write, and replaced whole at the end.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kestrel {

// False (the reason on standard error, after `option`) when `path` is a
// folder, a read-only file, or lies in a folder that does not exist.
bool CheckOutputFile(const char* option, const std::string& path);

// Replaces the file at `path` with `text` and names it on standard error as
// "WHAT written: PATH"; false (said there too) when it could not be written.
bool WriteOutputFile(const char* what, const std::string& path, const std::string& text);

// The same for a file made piece by piece: `produce` hands its pieces to
// the writer it is given, and the file replaces the old one only when all
// of them were written. A large report thus never sits in memory whole.
using PieceWriter = std::function<bool(std::string_view)>;
bool WriteOutputFile(const char* what, const std::string& path, const std::function<bool(const PieceWriter&)>& produce);

}  // namespace kestrel
