// The command line as a user meets it: the real program on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "cli/cli_run.h"
#include "settings/profile_file.h"

namespace kestrel {
namespace {

using testing::CliRun;
using testing::DemoDat;
using testing::RunCli;
using testing::TempFolder;

// A line that names one of the working folders made inside the demo
// collection's ROM path.
const std::regex kWorkingFolder("roms/(data|temp|backup|misc)");

// The program's own folders may lie inside a ROM path; however the command
// line or a profile spells them, a scan never takes them for unneeded
// folders (a repair would remove them).
TEST(CliTest, WorkingFoldersInsideARomPathAreSkippedHoweverTheyAreSpelled) {
  TempFolder dir;
  ASSERT_TRUE(testing::BuildDemoCollection(dir / "demo"));
  for (const char* folder : {"temp", "backup", "misc"}) testing::WriteFile(dir / "demo/roms/" + folder + "/keep.txt", "x");
  const std::string scan = "scan --datfile " + testing::DemoDat() + " --fastscan-file " + dir / "fast.fsc";
  const std::string unneeded = "unneeded file: " + dir / "demo/roms/starbl/readme.txt";
  // Relative, through "..", and as a ROM path without its trailing separator.
  const std::string roms = "./demo/roms/../roms";
  CliRun spelled = RunCli(dir, scan + " --rom-path " + roms + " --data-folder " + roms + "/data --temp-folder " + roms +
                                   "/temp --backup-folder " + roms + "/backup/ --misc-path " + roms + "/misc");
  EXPECT_EQ(spelled.status, 1) << spelled.err;
  EXPECT_NE(spelled.out.find(unneeded), std::string::npos) << "the scan looked at the top level";
  EXPECT_FALSE(std::regex_search(spelled.out, kWorkingFolder)) << spelled.out;

  SettingsRecord settings;
  ResetSettings(settings);
  settings.tempFolder = "demo/roms/temp/";
  settings.backupFolder = "demo/roms/backup";
  settings.miscPaths = {PathEntry{"demo/roms/misc/"}};
  settings.romPaths = {PathEntry{"demo/roms/"}};
  ASSERT_TRUE(SaveProfile(settings, dir / "relative.kpf", {}, 0));
  CliRun profile = RunCli(dir, scan + " --profile relative.kpf --data-folder demo/roms/data");
  EXPECT_EQ(profile.status, 1) << profile.err;
  EXPECT_NE(profile.out.find(unneeded), std::string::npos);
  EXPECT_FALSE(std::regex_search(profile.out, kWorkingFolder)) << profile.out;
}

// Installed into a bin/ folder, the program keeps its data in the user's
// data folder: $XDG_DATA_HOME/kestrel/ when that is absolute, else
// ~/.local/share/kestrel/.
TEST(CliTest, AnInstalledProgramKeepsItsDataInTheUsersDataFolder) {
  TempFolder dir;
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
