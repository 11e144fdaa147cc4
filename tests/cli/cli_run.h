// Runs the real kestrel-cli program on real files, as a user would.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace kestrel::testing {

struct CliRun {
  int status = -1;  // the exit status; -1 when the program did not exit
  std::string out;
  std::string err;
};

// Runs "kestrel-cli --answer <answer> <arguments>" with no terminal, in
// `dir`, with `dir`/home as its home, so that nothing of the user's settings
// reaches it nor anything it keeps the next test.
inline CliRun RunCli(const TempFolder& dir, const std::string& arguments, const std::string& answer = "yes") {
  std::string home = dir / "home";
  std::filesystem::create_directories(home);
  std::string command = "cd '" + dir.path() + "' && env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME='" + home + "' " + KESTREL_CLI +
                        " --answer " + answer + " " + arguments + " >" + dir / "out.txt" + " 2>" + dir / "err.txt" +
                        " </dev/null";
  int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir / "out.txt"), ReadFile(dir / "err.txt")};
}

inline std::string DemoDat() { return SourceDir() + "examples/demo.dat"; }

// Writes the demo collection (every kind of fault once) to `folder`.
inline bool BuildDemoCollection(const std::string& folder) {
  return std::system((std::string(KESTREL_DEMO_BUILDER) + " " + DemoDat() + " " + folder + " >/dev/null").c_str()) == 0;
}

}  // namespace kestrel::testing
