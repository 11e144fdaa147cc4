// "profile save" takes what "scan", "fastscan" and the tool commands take,
// so that a profile made on the command line can hold every option: the
// rebuilder's as "--rebuild-...", the merger's as "--merge-...". Each
// reaches its own field of the profile.
#include <gtest/gtest.h>

#include "cli/cli_run.h"

namespace kestrel {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::TempFolder;

TEST(ProfileOptionsTest, OptionsReachTheirOwnFieldsAndOthersKeepTheDefaults) {
  TempFolder dir;
  std::string save = "profile save --data-folder " + dir.path() + " --profile ";
  // Each value differs from the default, so a field left alone shows.
  CliRun tools = RunCli(dir, save + "tools.kpf --set-type non-merged --game-types neogeo --log scan.log"
                                     " --fastscan-file fast.fsc --check-case --fix-name"
                                     " --rebuild-source in --rebuild-destination out --rebuild-set-type merged"
                                     " --rebuild-game-types both-bios --rebuild-log rebuild.log --rebuild-folders"
                                     " --no-rebuild-tilde-crcs --rebuild-remove-sources"
                                     " --merge-folders --no-merge-clean-set --no-merge-remove-old"
                                     " --merge-destination merged --merge-mode split"
                                     " --no-scan-games --no-scan-roms --no-scan-samples --no-check-checksum"
                                     " --no-check-length --no-allow-double-names --no-alt-samples"
                                     " --advanced-unneeded --no-zero-crc-creation --no-show-missing-zero-crcs"
                                     " --show-all-zero-crcs --no-path-warnings --add-statistics --no-backups"
                                     " --no-ask-before-fixing --fix-missing-advanced --no-rebuild-zero-crcs"
                                     " --no-rebuild-recursive");
  ASSERT_EQ(tools.status, 0) << tools.err;
  std::string shown = RunCli(dir, "profile show --profile tools.kpf").out;
  for (const std::string& field : std::vector<std::string>{
           "scanMergeMode = 0", "scanGameTypes = 1", "checkCase = 1", "fixName = 1",
           "scannerLogfile = " + dir / "scan.log", "fastscanFile = " + dir / "fast.fsc",
           "rebuildSource = " + dir / "in/", "rebuildDestination = " + dir / "out/", "rebuildMergeMode = 2",
           "rebuildGameTypes = 2", "rebuildLogfile = rebuild.log", "rebuildCreateLog = 1", "rebuildZip = 0",
           "rebuildTildeCrcs = 0", "rebuildZeroCrcs = 0", "rebuildRecursive = 0", "rebuildRemoveSources = 1",
           "mergeZip = 0", "scanGames = 0", "scanRoms = 0", "scanSamples = 0", "checkChecksum = 0",
           "checkLength = 0", "allowDoubleNames = 0", "altSamplesSupport = 0", "advancedUnneeded = 1",
           "zeroCrcCreation = 0", "showMissingZeroCrcs = 0", "showAllZeroCrcs = 1", "pathWarnings = 0",
           "addStatistics = 1", "makeBackups = 0", "askBeforeFixing = 0", "checkMissing = 1",
           "fixMissingAdvanced = 1",
           "mergeCleanSet = 0", "mergeRemoveOld = 0", "mergePlacement = 1", "mergeDestination = " + dir / "merged/",
           "mergeMode = 0"}) {
    EXPECT_NE(shown.find(field + "\n"), std::string::npos) << field << "\n" << shown;
  }
  // Options not given keep the defaults: the sets stay where they are. A
  // fix whose check is switched off is off too; one asked for alone
  // switches its check on.
  ASSERT_EQ(RunCli(dir, save + "plain.kpf --merge-mode merged --set-type merged"
                                            " --no-check-unneeded --fix-unneeded --fix-case --fix-missing").status, 0);
  shown = RunCli(dir, "profile show --profile plain.kpf").out;
  for (const char* field : {"mergePlacement = 0", "mergeCleanSet = 1", "mergeRemoveOld = 1", "mergeMode = 1",
                            "rebuildCreateLog = 0", "rebuildZip = 1", "scanMergeMode = 2",
                            "checkUnneeded = 0", "fixUnneeded = 0", "checkCase = 1", "fixCase = 1",
                            "fixMissing = 1", "fixMissingAdvanced = 0", "rebuildRecursive = 1",
                            "rebuildZeroCrcs = 1", "makeBackups = 1", "askBeforeFixing = 1"})
    EXPECT_NE(shown.find(std::string(field) + "\n"), std::string::npos) << field << "\n" << shown;
  EXPECT_EQ(RunCli(dir, "profile show --profile missing.kpf").status, 2);
}

}  // namespace
}  // namespace kestrel
