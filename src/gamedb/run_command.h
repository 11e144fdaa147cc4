// Running an emulator for its game list. The emulator is started directly
// with its arguments, not through a shell, so a path with a blank in it or
// a game name with shell characters is passed as it stands and cannot run
// anything else.
#pragma once

#include <string>
#include <vector>

#include "platform/process.h"

namespace kestrel {

// Runs `executable` with `arguments` in the executable's folder, its
// standard output written to `outputPath` (appended to when `append`), and
// waits until it ends, however long that takes. Its standard error goes
// where `errors` says. The exit code is not
// looked at: emulators disagree on it. When the program cannot be started,
// the output file is deleted and the result is false.
bool RunCommand(const std::vector<std::string>& arguments, const std::string& outputPath,
                const std::string& executable, bool append, ErrorOutput errors = ErrorOutput::kShown);

}  // namespace kestrel
