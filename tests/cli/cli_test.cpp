// The command line as a user meets it: the real program on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "cli/cli_run.h"

namespace kestrel {
namespace {

using testing::CliRun;
using testing::DemoDat;
using testing::ReadFile;
using testing::RunCli;
using testing::TempFolder;

// Every file of a tree with its size and contents.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files[entry.path().string()] = ReadFile(entry.path().string());
  return files;
}

TEST(CliTest, InfoPrintsTheCountsOfTheValidatedList) {
  TempFolder dir;
  CliRun run = RunCli(dir, "info --datfile " + DemoDat() + " --data-folder " + dir.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Games: 10\nParents: 3\nClones: 4\nOthers: 3\nRoms: 40\nSamples: 3\n"
            "NeoGeo games: 3\nBad dumps: 2\n");

  CliRun missing = RunCli(dir, "info --datfile " + dir.path() + "nothing.dat --data-folder " + dir.path());
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("nothing.dat"), std::string::npos);

  testing::WriteFile(dir / "empty.dat", "emulator ( name x )\n");
  EXPECT_EQ(RunCli(dir, "info --datfile " + dir.path() + "empty.dat --data-folder " + dir.path()).status, 2);
}

TEST(CliTest, InfoUsesTheDataCacheUntilTheDatfileChanges) {
  TempFolder dir;
  std::string dat = dir / "list.dat";
  std::string game = "game ( name a description \"A\" rom ( name a.1 size 16 crc 1234 ) )\n";
  testing::WriteFile(dat, game);
  std::string args = "info --datfile " + dat + " --data-folder " + dir.path();
  ASSERT_EQ(RunCli(dir, args).status, 0);
  ASSERT_TRUE(std::filesystem::exists(dir / "_datdat"));
  auto written = std::filesystem::last_write_time(dir / "_datdat");

  ASSERT_EQ(RunCli(dir, args).status, 0);
  EXPECT_EQ(std::filesystem::last_write_time(dir / "_datdat"), written) << "read, not rewritten";

  testing::WriteFile(dat, game + "game ( name b description \"B\" rom ( name b.1 size 16 crc 99 ) )\n");
  CliRun changed = RunCli(dir, args);
  EXPECT_NE(changed.out.find("Games: 2\n"), std::string::npos);
}

TEST(CliTest, ScanReportsEveryPlantedFaultAndChangesNothing) {
  TempFolder dir;
  std::string demo = dir / "demo";
  ASSERT_TRUE(testing::BuildDemoCollection(demo));
  std::map<std::string, std::string> before = Snapshot(demo);
  std::string args = "scan --datfile " + DemoDat() + " --rom-path " + demo + "/roms --sample-path " + demo +
                     "/samples --data-folder " + dir.path() + " --check-case" +
                     " --fastscan-file " + dir.path() + "fast.fsc --log " + dir.path() + "scan.log";
  CliRun scan = RunCli(dir, args + " --temp-folder " + dir.path());
  EXPECT_EQ(scan.status, 1) << scan.err;
  // The repair run checks the lines of each fault; here what a plain scan adds.
  for (const std::string& finding : std::vector<std::string>
       {"wrong spelling: pp.gfx [wrong: PP.GFX] [right: pp.gfx]\n",
        "wrong length: ns-s1.bin [wrong: 16896] [right: 16384]\n",
        "\n----------\nMissing Games:          2 of 10\n"}) {
    EXPECT_NE(scan.out.find(finding), std::string::npos) << finding;
  }
  EXPECT_EQ(Snapshot(demo), before) << "a scan without fixes changes no file";
  std::string log = ReadFile(dir / "scan.log");
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(scan.out.rfind(log, 0), 0u) << "the logfile holds the lines printed";

  // The fastscan looks only at the games with findings: the same lines.
  CliRun fast = RunCli(dir, "fastscan" + args.substr(4) + " --temp-folder " + dir.path());
  EXPECT_EQ(fast.status, 1) << fast.err;
  EXPECT_NE(fast.out.find("missing rom: rr.2"), std::string::npos);

  CliRun noData = RunCli(dir, "scan --rom-path " + demo + "/roms --data-folder " + dir.path());
  EXPECT_EQ(noData.status, 2);

  CliRun noTemp = RunCli(dir, args + " --temp-folder " + dir.path() + "gone");
  EXPECT_EQ(noTemp.status, 2);
  EXPECT_NE(noTemp.err.find("[Path Error] No Valid Temporaryfolder"), std::string::npos);
}

}  // namespace
}  // namespace kestrel
