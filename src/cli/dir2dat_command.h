// "kestrel-cli dir2dat FOLDER... --out FILE": a Logiqx datfile of the sets
// in the folders (see report/folder_datfile.h), which Kestrel reads back as
// a game list and which the folders scan clean against.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace kestrel {

struct Dir2datOptions {
  std::vector<std::string> folders;
  std::string out;
  std::string title = "Kestrel dir2dat";  // the header's name
};

void AddDir2datOptions(CLI::App& command, Dir2datOptions& options);

// Writes the datfile and names every archive or file left out as damaged,
// and every set copy that disagrees with the first ("problem: PATH:
// REASON"), on standard output, then a line of counts.
// Returns kExitDone when every set was described; kExitFindings when
// something was left out, no set was found (nothing written) or the file
// could not be written; kExitRefused for an output path that cannot be
// written, before anything is read.
int RunDir2datCommand(const Dir2datOptions& options);

}  // namespace kestrel
