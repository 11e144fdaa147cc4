// The program's own folders may lie inside a ROM path; however the command
// line spells them, a scan never takes them for unneeded folders.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "cli/cli_run.h"
#include "settings/profile_file.h"

namespace kestrel {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::TempFolder;

// The lines of the output that name one of the working folders made
// inside the demo collection's ROM path.
std::string WorkingFolderLines(const std::string& out) {
  std::string lines;
  std::istringstream stream(out);
  for (std::string line; std::getline(stream, line);)
    if (std::regex_search(line, std::regex("roms/(data|temp|backup|misc)"))) lines += line + "\n";
  return lines;
}

TEST(WorkingFoldersTest, FoldersInsideARomPathAreSkippedHoweverTheyAreSpelled) {
  TempFolder dir;
  ASSERT_TRUE(testing::BuildDemoCollection(dir / "demo"));
  for (const char* folder : {"temp", "backup", "misc"}) testing::WriteFile(dir / "demo/roms/" + folder + "/keep.txt", "x");
  std::string common = "scan --datfile " + testing::DemoDat() + " --fastscan-file " + dir / "fast.fsc";
  auto folders = [](const std::string& prefix) {
    return " --rom-path " + prefix + "roms --data-folder " + prefix + "roms/data --temp-folder " + prefix +
           "roms/temp --backup-folder " + prefix + "roms/backup/ --misc-path " + prefix + "roms/misc";
  };

  for (const std::string& prefix : {std::string("demo/"), std::string("./demo/roms/../"), dir / "demo/"}) {
    CliRun scan = RunCli(dir, common + folders(prefix));
    EXPECT_EQ(scan.status, 1) << prefix << "\n" << scan.err;
    EXPECT_NE(scan.out.find("unneeded file: " + dir / "demo/roms/starbl/readme.txt"), std::string::npos)
        << "the scan looked at the top level";
    EXPECT_EQ(WorkingFolderLines(scan.out), "") << "spelled " << prefix;
  }

  // From inside the ROM path, and with the folders taken from a profile.
  CliRun inside = RunCli(dir, common + folders("../"), "yes", dir / "demo/roms");
  EXPECT_EQ(WorkingFolderLines(inside.out), "") << inside.err;

  SettingsRecord settings;
  ResetSettings(settings);
  settings.tempFolder = "demo/roms/temp/";
  settings.backupFolder = "demo/roms/backup";
  settings.miscPaths = {PathEntry{"demo/roms/misc/"}};
  settings.romPaths = {PathEntry{"demo/roms/"}};
  ASSERT_TRUE(SaveProfile(settings, dir / "relative.kpf", {}));
  CliRun profile = RunCli(dir, common + " --profile relative.kpf --data-folder demo/roms/data");
  EXPECT_EQ(profile.status, 1) << profile.err;
  EXPECT_NE(profile.out.find("unneeded file: " + dir / "demo/roms/starbl/readme.txt"), std::string::npos);
  EXPECT_EQ(WorkingFolderLines(profile.out), "");
}

}  // namespace
}  // namespace kestrel
