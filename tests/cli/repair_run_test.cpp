// A repair run of the demo collection from the command line, as the README
// shows it: every fix on, every question answered "Yes To All".
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempFolder;

struct CliOutcome {
  int status = -1;
  std::string out;
};

CliOutcome RunCli(const TempFolder& dir, const std::string& arguments) {
  std::string command = std::string(KESTREL_CLI) + " " + arguments + " >" + dir.path() + "out.txt 2>" +
                        dir.path() + "err.txt </dev/null";
  int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir / "out.txt")};
}

TEST(RepairRunTest, EveryFixOnLeavesOnlyWhatNoRepairCanMend) {
  TempFolder dir;
  std::string demo = dir / "demo";
  std::string dat = testing::SourceDir() + "examples/demo.dat";
  ASSERT_EQ(std::system((std::string(KESTREL_DEMO_BUILDER) + " " + dat + " " + demo + " >/dev/null").c_str()), 0);
  std::string args = "scan --datfile " + dat + " --rom-path " + demo + "/roms --sample-path " + demo +
                     "/samples --data-folder " + dir.path() + " --temp-folder " + dir.path() + " --check-case";

  CliOutcome repair = RunCli(dir, "--answer yes-to-all " + args +
                               " --fix-case --fix-name --fix-length --fix-unneeded --fix-missing-advanced");
  for (const std::string& line : std::vector<std::string>{
           "[wrong: starblue] [right: starblu] [fixed]", "[wrong: 16896] [right: 16384] [fixed]",
           "[wrong: PP.GFX] [right: pp.gfx] [fixed]", "[wrong: sb.sound] [right: sb.snd] [fixed]",
           "starbl/readme.txt [fixed]"}) {
    EXPECT_NE(repair.out.find(line), std::string::npos) << line << "\n" << repair.out;
  }

  CliOutcome after = RunCli(dir, "--answer no " + args);
  EXPECT_EQ(after.status, 1);
  std::string lines = after.out.substr(0, after.out.find("----------"));
  EXPECT_EQ(lines,
            "Neo Legends [folder: nglegend]\n"
            "wrong checksum: nl-m1.bin [wrong: 3b814dc7] [right: f7bf7805 (84087fa)]\n\n"
            "Puzzle Parade (alternate) [folder: puzzlea - parent: puzzle]\n"
            "missing game: Puzzle Parade (alternate)\n"
            "missing rom: ppa.2 [length: 4096] [chksum: 24fe1ba6 (db01e459)]\n\n"
            "Rocket Rally [folder: rocket]\n"
            "missing rom: rr.2 [length: 2048] [chksum: 4b74f751 (b48b08ae)]\n\n");
  EXPECT_TRUE(std::filesystem::exists(dir / "BACKUP.KPW/starbl.zip")) << "the removed file is kept";
}

}  // namespace
}  // namespace kestrel
