// What a scan prints and how it exits, seen from a script: 0 no result
// line; 1 findings, a scan stopped before its end or a logfile not written;
// 2 the scan did not run.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/zip_reader.h"
#include "cli/cli_run.h"
#include "settings/profile_file.h"

namespace kestrel {
namespace {

using testing::CliRun;
using testing::ReadFile;
using testing::RunCli;
using testing::TempFolder;

const std::string kStatisticsStart = "----------\nMissing Games:          ";

// One arcade game whose only ROM holds "kestrel" (CRC-32 1d30faf3), present
// and correct, and one NeoGeo game, missing.
TEST(ScanExitTest, TheStatusFollowsTheResultLinesAndTheLogfileIsWrittenOnlyForThem) {
  TempFolder dir;
  testing::WriteFile(dir / "list.dat",
                     "game ( name arc description \"Arcade\" rom ( name arc.1 size 7 crc 1d30faf3 ) )\n"
                     "game ( name ngx description \"Neo X\" rom ( name neo-geo.rom size 131072 crc 9036d879 )"
                     " rom ( name ngx.1 size 16 crc 12345678 ) )\n");
  testing::WriteFile(dir / "roms/arc/arc.1", "kestrel");
  const std::string args = "--datfile " + dir / "list.dat" + " --rom-path " + dir / "roms" + " --data-folder " +
                           dir / "data" + " --temp-folder " + dir.path() + " --backup-folder " + dir.path() +
                           " --fastscan-file " + dir / "fast.fsc";
  CliRun noFastscanFile = RunCli(dir, "fastscan " + args);
  EXPECT_EQ(noFastscanFile.status, 2);
  EXPECT_EQ(noFastscanFile.out, "");
  EXPECT_NE(noFastscanFile.err.find("[Fastscan Error] Error while using fastscan file !"), std::string::npos);

  // The NeoGeo game is skipped by the game-type filter: no result line, so
  // the old logfile stays and nothing is said about it.
  const std::string oldLog = "lines of an earlier scan\n";
  testing::WriteFile(dir / "old.log", oldLog);
  const std::string scan = "scan " + args + " --add-statistics --log " + dir / "old.log";
  CliRun arcade = RunCli(dir, scan + " --game-types arcade");
  EXPECT_EQ(arcade.status, 0) << arcade.err;
  EXPECT_EQ(arcade.out.rfind(kStatisticsStart, 0), 0u) << "no line, then the statistics:\n" << arcade.out;
  EXPECT_NE(arcade.out.find("Number Of NeoGeo Games: 1\n"), std::string::npos);
  EXPECT_EQ(ReadFile(dir / "old.log"), oldLog);
  EXPECT_EQ(arcade.err.find("Logfile"), std::string::npos);

  CliRun neogeo = RunCli(dir, scan + " --game-types neogeo");
  EXPECT_EQ(neogeo.status, 1) << neogeo.err;
  EXPECT_EQ(neogeo.out.rfind("Neo X [folder: ngx]\nmissing game: Neo X\n", 0), 0u) << neogeo.out;
  EXPECT_NE(neogeo.out.find("\n\n" + kStatisticsStart), std::string::npos);
  EXPECT_NE(neogeo.err.find("[Logfile Saved] Logfile saved successfully !"), std::string::npos) << neogeo.err;
  std::string log = ReadFile(dir / "old.log");
  EXPECT_EQ(log.rfind("Neo X [folder: ngx]\n", 0), 0u) << log;
  EXPECT_NE(log.find("\n\n" + kStatisticsStart), std::string::npos);

  // A profile's game selection holds for the data it was made with: the
  // NeoGeo game, not selected, is not scanned.
  SettingsRecord picked;
  ResetSettings(picked);
  uint32_t size = 0;
  ASSERT_TRUE(ReadFileCrc(RealFileSystem(), dir / "list.dat", size, picked.storedDataCrc));
  picked.storedGameCount = 2;
  picked.gameSelectionBytes = {1, 0};  // arc, ngx
  ASSERT_TRUE(SaveProfile(picked, dir / "picked.kpf", {}, 0));
  CliRun unselected = RunCli(dir, "scan --profile " + dir / "picked.kpf " + args + " --game-types neogeo");
  EXPECT_EQ(unselected.status, 0) << unselected.out;
  EXPECT_EQ(unselected.out.find("missing game"), std::string::npos) << unselected.out;

  CliRun failed = RunCli(dir, "scan " + args + " --log " + dir / "gone/new.log");
  EXPECT_EQ(failed.status, 1) << "a logfile asked for and not written is no success";
  EXPECT_NE(failed.err.find("[Logfile Error] Error while saving logfile !"), std::string::npos) << failed.err;
  EXPECT_NE(failed.out.find("missing game: Neo X"), std::string::npos);

  // Renaming a set under a wrong name asks first; "stop" ends the scan.
  SettingsRecord settings;
  ResetSettings(settings);
  settings.fixName = true;
  ASSERT_TRUE(SaveProfile(settings, dir / "fix.kpf", {}, 0));
  testing::WriteFile(dir / "roms/arcade/arc.1", "kestrel");
  std::filesystem::remove(dir / "fast.fsc");
  CliRun stopped = RunCli(dir, "scan --profile " + dir / "fix.kpf " + args, "stop");
  EXPECT_EQ(stopped.status, 1) << stopped.out;
  EXPECT_NE(stopped.err.find("[Fix Wrong Named Game]"), std::string::npos) << stopped.err;
  EXPECT_NE(stopped.err.find("Scan stopped"), std::string::npos) << stopped.err;
  EXPECT_NE(stopped.out.find(kStatisticsStart), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir / "roms/arcade")) << "not renamed";
  EXPECT_FALSE(std::filesystem::exists(dir / "fast.fsc")) << "a stopped scan writes no fastscan file";
}

}  // namespace
}  // namespace kestrel
