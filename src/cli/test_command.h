// "kestrel-cli test PATH...": decodes every member of every zip and reads
// every CHD header (see report/archive_integrity.h), and names each damaged
// archive.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace kestrel {

struct TestOptions {
  std::vector<std::string> paths;  // zips, CHDs and folders to look through
};

void AddTestOptions(CLI::App& command, TestOptions& options);

// Prints "damaged: PATH: REASON" for each damaged archive, then a line of
// counts. Returns kExitDone when every archive is intact, kExitFindings
// when one is damaged, kExitRefused (nothing checked) for a path that is
// neither a folder nor a zip or CHD.
int RunTestCommand(const TestOptions& options);

}  // namespace kestrel
