// Where the installed command line keeps its data (the rest of its
// behaviour is in the scenarios of tests/*/scenarios/).
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_run.h"

namespace kestrel {
namespace {

using testing::DemoDat;

// Installed into a bin/ folder, the program keeps its data in the user's
// data folder: $XDG_DATA_HOME/kestrel/ when that is absolute, else
// ~/.local/share/kestrel/.
TEST(CliTest, AnInstalledProgramKeepsItsDataInTheUsersDataFolder) {
  testing::TempFolder dir;
  std::filesystem::create_directories(dir / "bin");
  std::filesystem::copy_file(KESTREL_CLI, dir / "bin/kestrel-cli");
  for (const std::string& dataHome : {std::string("relative"), dir / "xdg"}) {
    std::string command = "cd '" + dir.path() + "' && env XDG_DATA_HOME='" + dataHome + "' HOME='" + dir / "home" +
                          "' '" + dir / "bin/kestrel-cli' info --datfile " + DemoDat() + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }
  EXPECT_TRUE(std::filesystem::exists(dir / "home/.local/share/kestrel/_datdat"));
  EXPECT_TRUE(std::filesystem::exists(dir / "xdg/kestrel/_datdat"));
  EXPECT_FALSE(std::filesystem::exists(dir / "relative"));
  EXPECT_FALSE(std::filesystem::exists(dir / "bin/_datdat"));
}

}  // namespace
}  // namespace kestrel
