// What a scan prints and how it exits, seen from a script: 0 no result
// line, 1 findings, 2 the scan did not run or did not end.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_run.h"
#include "settings/profile_file.h"

namespace kestrel {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::TempFolder;

constexpr char kStatisticsStart[] = "----------\nMissing Games:          ";

// One arcade game whose only ROM holds "kestrel" (CRC-32 1d30faf3) and one
// NeoGeo game; the collection holds the arcade game, correct.
struct SmallCollection {
  explicit SmallCollection(const TempFolder& dir) {
    testing::WriteFile(dir / "list.dat",
                       "game ( name arc description \"Arcade\" rom ( name arc.1 size 7 crc 1d30faf3 ) )\n"
                       "game ( name ngx description \"Neo X\" rom ( name neo-geo.rom size 131072 crc 9036d879 )"
                       " rom ( name ngx.1 size 16 crc 12345678 ) )\n");
    testing::WriteFile(dir / "roms/arc/arc.1", "kestrel");
    args = "--datfile " + dir / "list.dat" + " --rom-path " + dir / "roms" + " --data-folder " + dir / "data" +
           " --temp-folder " + dir.path() + " --backup-folder " + dir.path() + " --fastscan-file " + dir / "fast.fsc";
  }
  std::string args;
};

TEST(ScanExitTest, TheStatusFollowsTheResultLinesAndTheStatisticsAreAlwaysPrinted) {
  TempFolder dir;
  SmallCollection collection(dir);

  // The NeoGeo game is missing, but skipped by the game-type filter.
  CliRun arcade = RunCli(dir, "scan " + collection.args + " --game-types arcade");
  EXPECT_EQ(arcade.status, 0) << arcade.err;
  EXPECT_EQ(arcade.out.rfind(kStatisticsStart, 0), 0u) << "no line, then the statistics:\n" << arcade.out;
  EXPECT_NE(arcade.out.find("Number Of NeoGeo Games: 1\n"), std::string::npos);

  CliRun neogeo = RunCli(dir, "scan " + collection.args + " --game-types neogeo");
  EXPECT_EQ(neogeo.status, 1) << neogeo.err;
  EXPECT_EQ(neogeo.out.rfind("Neo X [folder: ngx]\nmissing game: Neo X\n", 0), 0u) << neogeo.out;
  EXPECT_NE(neogeo.out.find("\n\n" + std::string(kStatisticsStart)), std::string::npos);
}

TEST(ScanExitTest, ARefusedOrStoppedScanExitsTwoWithItsReason) {
  TempFolder dir;
  SmallCollection collection(dir);

  CliRun noFastscanFile = RunCli(dir, "fastscan " + collection.args);
  EXPECT_EQ(noFastscanFile.status, 2);
  EXPECT_EQ(noFastscanFile.out, "");
  EXPECT_NE(noFastscanFile.err.find("[Fastscan Error] Error while using fastscan file !"), std::string::npos);

  std::filesystem::create_directories(dir / "empty");
  CliRun declined = RunCli(dir, "scan " + collection.args + " --rom-path " + dir / "empty", "no");
  EXPECT_EQ(declined.status, 2);
  EXPECT_NE(declined.err.find("[Path Warning] No roms found in rompath"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "fast.fsc"));

  // Renaming a set under a wrong name asks first; "stop" ends the scan.
  SettingsRecord settings;
  ResetSettings(settings);
  settings.fixName = true;
  ASSERT_TRUE(SaveProfile(settings, dir / "fix.kpf", {}));
  testing::WriteFile(dir / "roms/arcade/arc.1", "kestrel");
  CliRun stopped = RunCli(dir, "scan --profile " + dir / "fix.kpf " + collection.args, "stop");
  EXPECT_EQ(stopped.status, 2) << stopped.out;
  EXPECT_NE(stopped.err.find("[Fix Wrong Named Game]"), std::string::npos) << stopped.err;
  EXPECT_NE(stopped.err.find("Scan stopped"), std::string::npos) << stopped.err;
  EXPECT_NE(stopped.out.find(kStatisticsStart), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir / "roms/arcade")) << "not renamed";
  EXPECT_FALSE(std::filesystem::exists(dir / "fast.fsc")) << "a stopped scan writes no fastscan file";

  CliRun answered = RunCli(dir, "scan --profile " + dir / "fix.kpf " + collection.args, "no");
  EXPECT_EQ(answered.status, 1);
  EXPECT_NE(answered.out.find("wrong name: " + dir / "roms/arcade [wrong: arcade] [right: arc] [not fixed]"),
            std::string::npos)
      << answered.out;
  EXPECT_TRUE(std::filesystem::exists(dir / "fast.fsc"));
}

TEST(ScanExitTest, TheLogfileIsWrittenOnlyForResultLinesAndSaysHowItWent) {
  TempFolder dir;
  SmallCollection collection(dir);
  std::string oldLog = "lines of an earlier scan\n";
  testing::WriteFile(dir / "old.log", oldLog);

  CliRun empty = RunCli(dir, "scan " + collection.args + " --game-types arcade --add-statistics --log " +
                                 dir / "old.log");
  EXPECT_EQ(empty.status, 0) << empty.err;
  EXPECT_EQ(testing::ReadFile(dir / "old.log"), oldLog) << "no result line: the old file stays";
  EXPECT_EQ(empty.err.find("Logfile"), std::string::npos) << "and nothing is said about it";
  EXPECT_EQ(empty.out.rfind(kStatisticsStart, 0), 0u);

  CliRun saved = RunCli(dir, "scan " + collection.args + " --add-statistics --log " + dir / "old.log");
  EXPECT_EQ(saved.status, 1);
  EXPECT_NE(saved.err.find("[Logfile Saved] Logfile saved successfully !"), std::string::npos) << saved.err;
  std::string log = testing::ReadFile(dir / "old.log");
  EXPECT_EQ(log.rfind("Neo X [folder: ngx]\n", 0), 0u) << log;
  EXPECT_NE(log.find("\n\n" + std::string(kStatisticsStart)), std::string::npos);

  CliRun failed = RunCli(dir, "scan " + collection.args + " --log " + dir / "gone/new.log");
  EXPECT_EQ(failed.status, 2) << "a logfile asked for and not written is no success";
  EXPECT_NE(failed.err.find("[Logfile Error] Error while saving logfile !"), std::string::npos) << failed.err;
  EXPECT_NE(failed.out.find("missing game: Neo X"), std::string::npos);
}

}  // namespace
}  // namespace kestrel
