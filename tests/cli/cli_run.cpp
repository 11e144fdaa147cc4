#include "cli/cli_run.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

namespace kestrel::testing {

CliRun RunCli(const TempFolder& dir, const std::string& arguments, const std::string& answer,
              const std::string& workingFolder) {
  std::string folder = workingFolder.empty() ? dir.path() : workingFolder;
  // A home of its own, so that nothing of the user's settings or data
  // reaches the program, and nothing it keeps reaches the next test.
  std::string home = dir / "home";
  std::filesystem::create_directories(home);
  std::string command = "cd '" + folder + "' && env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME='" + home + "' " +
                        std::string(KESTREL_CLI) + " --answer " + answer + " " + arguments + " >" + dir.path() +
                        "out.txt 2>" + dir.path() + "err.txt </dev/null";
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
