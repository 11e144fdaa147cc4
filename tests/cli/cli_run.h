// Runs the real kestrel-cli program on real files, as a user would.
#pragma once

#include <string>

#include "support/temp_folder.h"

namespace kestrel::testing {

struct CliRun {
  int status = -1;  // the exit status; -1 when the program did not exit
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs "kestrel-cli --answer <answer> <arguments>" with no terminal, from
// the folder `workingFolder` (the test's folder when empty), with `dir`/home
// as its home. Output is kept in `dir`.
CliRun RunCli(const TempFolder& dir, const std::string& arguments, const std::string& answer = "yes",
              const std::string& workingFolder = "");

// The bundled demo game list.
std::string DemoDat();

// Writes the demo collection (every kind of fault once) to `folder`;
// false when the builder failed.
bool BuildDemoCollection(const std::string& folder);

}  // namespace kestrel::testing
