// "profile save" takes what "scan", "fastscan" and the tool commands take,
// so that a profile made on the command line can hold every option: the
// rebuilder's as "--rebuild-...", the merger's as "--merge-...".
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "cli/cli_run.h"

namespace kestrel {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::TempFolder;

// The long option names a command's help lists ("--x,--no-x" gives both).
std::set<std::string> OptionNames(const std::string& help) {
  std::set<std::string> names;
  std::regex option("--[a-z][a-z0-9-]*");
  for (auto it = std::sregex_iterator(help.begin(), help.end(), option); it != std::sregex_iterator(); ++it)
    names.insert(it->str());
  return names;
}

// The flag pairs "--x,--y" a command's help lists ("--zip,--folders",
// "--recursive,--no-recursive").
std::vector<std::pair<std::string, std::string>> FlagPairs(const std::string& help) {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::regex pair("(--[a-z0-9-]+),(--[a-z0-9-]+)");
  for (auto it = std::sregex_iterator(help.begin(), help.end(), pair); it != std::sregex_iterator(); ++it)
    pairs.emplace_back((*it)[1].str(), (*it)[2].str());
  return pairs;
}

// "--no-recursive" under the prefix "rebuild-" is "--no-rebuild-recursive".
std::string Prefixed(const std::string& name, const std::string& prefix) {
  if (name.rfind("--no-", 0) == 0) return "--no-" + prefix + name.substr(5);
  return "--" + prefix + name.substr(2);
}

TEST(ProfileOptionsTest, ProfileSaveTakesAndStoresEveryOptionOfTheScansAndTools) {
  TempFolder dir;
  const std::string saveHelp = RunCli(dir, "profile save --help").out;
  std::set<std::string> save = OptionNames(saveHelp);
  for (const char* command : {"scan", "fastscan"}) {
    std::set<std::string> scan = OptionNames(RunCli(dir, std::string(command) + " --help").out);
    ASSERT_GT(scan.size(), 30u);
    std::string missing;
    for (const std::string& name : scan)
      if (save.count(name) == 0) missing += name + " ";
    EXPECT_EQ(missing, "") << "taken by " << command << ", not by profile save";
  }
  // The tools' own options, beside the game data options they share.
  std::set<std::string> data = OptionNames(RunCli(dir, "info --help").out);
  const std::pair<std::string, std::string> tools[] = {{"rebuild", "rebuild-"}, {"merge", "merge-"}, {"unmerge", "merge-"}};
  for (const auto& [command, prefix] : tools) {
    std::set<std::string> tool = OptionNames(RunCli(dir, command + " --help").out);
    ASSERT_GT(tool.size(), data.size() + 3);
    std::string missing;
    for (const std::string& name : tool)
      if (data.count(name) == 0 && save.count(Prefixed(name, prefix)) == 0) missing += Prefixed(name, prefix) + " ";
    EXPECT_EQ(missing, "") << "for the options of " << command;
  }

  // Each switch and its opposite store different profiles.
  std::vector<std::pair<std::string, std::string>> switches = FlagPairs(saveHelp);
  ASSERT_GE(switches.size(), 25u);  // 17 of the scans, 5 of the rebuilder, 3 of the merger
  const std::string saveTo = "profile save --data-folder " + dir.path() + " --profile ";
  for (const auto& [on, off] : switches) {
    ASSERT_EQ(RunCli(dir, saveTo + "on.kpf " + on).status, 0) << on;
    ASSERT_EQ(RunCli(dir, saveTo + "off.kpf " + off).status, 0) << off;
    EXPECT_NE(testing::ReadFile(dir / "on.kpf"), testing::ReadFile(dir / "off.kpf")) << on << " is not stored";
  }
}

TEST(ProfileOptionsTest, ValuedOptionsReachTheirOwnFields) {
  TempFolder dir;
  std::string save = "profile save --data-folder " + dir.path() + " --profile ";
  // Each value differs from the default, so a field left alone shows.
  CliRun tools = RunCli(dir, save + "tools.kpf --set-type non-merged --game-types neogeo --log scan.log"
                                     " --fastscan-file fast.fsc"
                                     " --rebuild-source in --rebuild-destination out --rebuild-set-type merged"
                                     " --rebuild-game-types both-bios --rebuild-log rebuild.log --rebuild-folders"
                                     " --no-rebuild-tilde-crcs --rebuild-remove-sources"
                                     " --merge-folders --no-merge-clean-set --no-merge-remove-old"
                                     " --merge-destination merged --merge-mode split");
  ASSERT_EQ(tools.status, 0) << tools.err;
  std::string shown = RunCli(dir, "profile show --profile tools.kpf").out;
  for (const std::string& field :
       {std::string("scanMergeMode = 0"), std::string("scanGameTypes = 1"), "scannerLogfile = " + dir / "scan.log",
        "fastscanFile = " + dir / "fast.fsc", "rebuildSource = " + dir / "in/",
        "rebuildDestination = " + dir / "out/", std::string("rebuildMergeMode = 2"),
        std::string("rebuildGameTypes = 2"), std::string("rebuildLogfile = rebuild.log"),
        std::string("rebuildCreateLog = 1"), std::string("rebuildZip = 0"), std::string("rebuildTildeCrcs = 0"),
        std::string("rebuildZeroCrcs = 1"), std::string("rebuildRemoveSources = 1"), std::string("mergeZip = 0"),
        std::string("mergeCleanSet = 0"), std::string("mergeRemoveOld = 0"), std::string("mergePlacement = 1"),
        "mergeDestination = " + dir / "merged/", std::string("mergeMode = 0")}) {
    EXPECT_NE(shown.find(field + "\n"), std::string::npos) << field << "\n" << shown;
  }
  // Options not given keep the defaults: the sets stay where they are.
  ASSERT_EQ(RunCli(dir, save + "plain.kpf --merge-mode merged --set-type merged").status, 0);
  shown = RunCli(dir, "profile show --profile plain.kpf").out;
  for (const char* field : {"mergePlacement = 0", "mergeCleanSet = 1", "mergeRemoveOld = 1", "mergeMode = 1",
                            "rebuildCreateLog = 0", "rebuildZip = 1", "scanMergeMode = 2"})
    EXPECT_NE(shown.find(std::string(field) + "\n"), std::string::npos) << field << "\n" << shown;
}

}  // namespace
}  // namespace kestrel
