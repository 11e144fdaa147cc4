#include "cli/cli_run.h"

#include <sys/wait.h>

#include <cstdlib>

namespace kestrel::testing {

CliRun RunCli(const TempFolder& dir, const std::string& arguments, const std::string& answer,
              const std::string& workingFolder) {
  std::string folder = workingFolder.empty() ? dir.path() : workingFolder;
  std::string command = "cd '" + folder + "' && " + std::string(KESTREL_CLI) + " --answer " + answer + " " +
                        arguments + " >" + dir.path() + "out.txt 2>" + dir.path() + "err.txt </dev/null";
  CliRun run;
  int status = std::system(command.c_str());
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadFile(dir / "out.txt");
  run.err = ReadFile(dir / "err.txt");
  return run;
}

std::string DemoDat() { return SourceDir() + "examples/demo.dat"; }

bool BuildDemoCollection(const std::string& folder) {
  std::string command = std::string(KESTREL_DEMO_BUILDER) + " " + DemoDat() + " " + folder + " >/dev/null";
  return std::system(command.c_str()) == 0;
}

}  // namespace kestrel::testing
