// A repair run of the demo collection from the command line, as the README
// shows it: every fix on, every question answered "Yes To All".
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_run.h"

namespace kestrel {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::TempFolder;

TEST(RepairRunTest, EveryFixOnLeavesOnlyWhatNoRepairCanMend) {
  TempFolder dir;
  std::string demo = dir / "demo";
  ASSERT_TRUE(testing::BuildDemoCollection(demo));
  std::string args = "scan --datfile " + testing::DemoDat() + " --rom-path " + demo + "/roms --sample-path " + demo +
                     "/samples --data-folder " + dir.path() + " --temp-folder " + dir.path() + " --check-case";

  CliRun repair =
      RunCli(dir, args + " --fix-case --fix-name --fix-length --fix-unneeded --fix-missing-advanced", "yes-to-all");
  for (const std::string& line : std::vector<std::string>{
           "[wrong: starblue] [right: starblu] [fixed]", "[wrong: 16896] [right: 16384] [fixed]",
           "[wrong: PP.GFX] [right: pp.gfx] [fixed]", "[wrong: sb.sound] [right: sb.snd] [fixed]",
           "starbl/readme.txt [fixed]"}) {
    EXPECT_NE(repair.out.find(line), std::string::npos) << line << "\n" << repair.out;
  }

  CliRun after = RunCli(dir, args, "no");
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
