// The command line program: parses the arguments and runs one command.
#pragma once

namespace kestrel {

// Returns the process exit status.
int RunCommandLine(int argc, char** argv);

}  // namespace kestrel
