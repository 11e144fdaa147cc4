// The program's run from start to end: data folder, zip library, per-user
// values, the main window, and the values written back once it has ended.
#pragma once

namespace kestrel {

// Needs a QApplication. Returns the process exit code.
int RunKestrel();

}  // namespace kestrel
