// "profile save" takes what "scan" and "fastscan" take, so that a profile
// made on the command line can hold every scanner option.
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

// The switch pairs "--x,--no-x" a command's help lists, by their "x".
std::vector<std::string> SwitchNames(const std::string& help) {
  std::vector<std::string> names;
  std::regex pair("--([a-z0-9-]+),--no-\\1\\b");
  for (auto it = std::sregex_iterator(help.begin(), help.end(), pair); it != std::sregex_iterator(); ++it)
    names.push_back((*it)[1].str());
  return names;
}

TEST(ProfileOptionsTest, ProfileSaveTakesEveryOptionOfTheScans) {
  TempFolder dir;
  std::set<std::string> save = OptionNames(RunCli(dir, "profile save --help").out);
  for (const char* command : {"scan", "fastscan"}) {
    std::set<std::string> scan = OptionNames(RunCli(dir, std::string(command) + " --help").out);
    ASSERT_GT(scan.size(), 30u);
    std::string missing;
    for (const std::string& name : scan)
      if (save.count(name) == 0) missing += name + " ";
    EXPECT_EQ(missing, "") << "taken by " << command << ", not by profile save";
  }
}

TEST(ProfileOptionsTest, EveryScanSwitchReachesTheSavedProfile) {
  TempFolder dir;
  std::vector<std::string> switches = SwitchNames(RunCli(dir, "scan --help").out);
  ASSERT_GT(switches.size(), 15u);
  std::string save = "profile save --data-folder " + dir.path() + " --profile ";
  std::string show = "profile show --profile ";
  for (const std::string& name : switches) {
    ASSERT_EQ(RunCli(dir, save + "on.kpf --" + name).status, 0) << name;
    ASSERT_EQ(RunCli(dir, save + "off.kpf --no-" + name).status, 0) << name;
    EXPECT_NE(testing::ReadFile(dir / "on.kpf"), testing::ReadFile(dir / "off.kpf")) << "--" << name << " is not stored";
  }

  CliRun valued = RunCli(dir, save + "mine.kpf --set-type merged --game-types arcade --log scan.log"
                                     " --fastscan-file fast.fsc --no-check-name --check-case");
  ASSERT_EQ(valued.status, 0) << valued.err;
  std::string shown = RunCli(dir, show + "mine.kpf").out;
  for (const std::string& field : {std::string("scanMergeMode = 2"), std::string("scanGameTypes = 0"),
                                   "scannerLogfile = " + dir / "scan.log", "fastscanFile = " + dir / "fast.fsc",
                                   std::string("checkName = 0"), std::string("checkCase = 1")}) {
    EXPECT_NE(shown.find(field + "\n"), std::string::npos) << field << "\n" << shown;
  }
}

}  // namespace
}  // namespace kestrel
