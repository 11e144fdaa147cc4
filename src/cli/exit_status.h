// What the exit status of every kestrel-cli command says, so that a script
// can trust it without reading the output.
#pragma once

namespace kestrel {

enum ExitStatus {
  kExitDone = 0,      // everything asked for was done: nothing failed, nothing found
  kExitFindings = 1,  // findings remain, or something failed or was left undone (each named on the output)
  kExitRefused = 2,   // the command refused or could not start (the reason on standard error)
};

}  // namespace kestrel
