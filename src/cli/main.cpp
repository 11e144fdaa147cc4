#include <cstdio>
#include <new>

#include "cli/commands.h"
#include "cli/exit_status.h"

// Running out of memory ends any command the same way: a message and the
// status of a command that could not be done, never an abort.
int main(int argc, char** argv) {
  try {
    return kestrel::RunCommandLine(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fputs("Out of memory: Kestrel stopped. Free some memory, or use a smaller list, and run the command again.\n",
               stderr);
    return kestrel::kExitRefused;
  }
}
