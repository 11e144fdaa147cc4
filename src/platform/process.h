// Starting another program directly (no shell), with its standard output
// sent to a file, and waiting for it.
#pragma once

#include <string>
#include <vector>

namespace kestrel {

// Where the started program's standard error goes: to ours, or nowhere
// (for a run whose complaints the user need not see).
enum class ErrorOutput { kShown, kDiscarded };

// Runs `program` with `arguments` in `workingFolder` (the current folder when
// empty), standard output into `outputFile` (appended to when `append`),
// standard error as `errors` says, and waits without limit. The exit code
// is not looked at. False when the program could not be started or the
// output file not opened.
bool RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& outputFile, bool append, const std::string& workingFolder,
                ErrorOutput errors = ErrorOutput::kShown);

}  // namespace kestrel

namespace kestrel {

// The id of this program's process.
int CurrentProcessId();

// True while a process of that id exists (ours included), so that a folder
// or file named after its maker's process can be told in use from left over.
bool IsProcessRunning(int id);

}  // namespace kestrel
