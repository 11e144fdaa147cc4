// The dry run of every tool that changes files, on the demo collection
// (every kind of fault once): it changes no byte, and the changes it lists,
// applied to the collection as it was, give the collection the real run
// leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "cli/cli_run.h"

namespace kestrel {
namespace {

using testing::TempFolder;
using Tree = std::map<std::string, std::string>;  // absolute path -> hash of the bytes, "/" for a folder

// The collection and the backups; Kestrel's caches in the data folder are
// its own.
Tree Snapshot(const TempFolder& root) {
  Tree tree;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root.path())) {
    const std::string path = entry.path().string();
    if (path.rfind(root / "data/", 0) == 0 && path.rfind(root / "data/BACKUP.KPW", 0) != 0) continue;
    if (path.rfind(root / "home", 0) == 0 || path.rfind(root / "out.txt", 0) == 0 || path.rfind(root / "err.txt", 0) == 0)
      continue;
    tree[path] = entry.is_directory() ? "/" : std::to_string(std::hash<std::string>{}(testing::ReadFile(path)));
  }
  return tree;
}

std::string WithoutSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The lines after the dry run's heading, applied to the names of `before`;
// every file written is noted in `written`.
Tree Apply(const std::string& out, Tree tree, std::vector<std::string>& written) {
  std::istringstream lines(out.substr(out.find('\n', out.find("Dry run, nothing written")) + 1));
  for (std::string line; std::getline(lines, line);) {
    const size_t space = line.find(' ');
    const std::string verb = line.substr(0, space), rest = line.substr(space + 1);
    if (verb == "create" || verb == "replace") {
      tree[rest] = "?";
      written.push_back(rest);
    } else if (verb == "delete") {
      EXPECT_EQ(tree.erase(rest), 1u) << line;
    } else if (line.rfind("create folder ", 0) == 0) {
      tree[WithoutSlash(line.substr(14))] = "/";
    } else if (line.rfind("remove folder ", 0) == 0) {
      EXPECT_EQ(tree.erase(WithoutSlash(line.substr(14))), 1u) << line;
    } else if (verb == "rename") {
      const std::string from = rest.substr(0, rest.find(" -> ")), to = rest.substr(rest.find(" -> ") + 4);
      Tree moved;
      for (auto entry = tree.begin(); entry != tree.end();) {
        if (entry->first != from && entry->first.rfind(from + "/", 0) != 0) {
          ++entry;
          continue;
        }
        moved[to + entry->first.substr(from.size())] = entry->second;
        entry = tree.erase(entry);
      }
      EXPECT_FALSE(moved.empty()) << line;
      tree.merge(moved);
    } else {
      ADD_FAILURE() << "not a change: " << line;
    }
  }
  return tree;
}

TEST(DryRunTest, ChangesNothingAndListsWhatTheRealRunDoes) {
  const std::vector<std::string> commands = {
      "scan --rom-path roms --sample-path samples --fix-case --fix-name --fix-length --fix-unneeded --fix-missing "
      "--verdicts --check-torrentzip --log scan.log",
      "rebuild --source roms --destination built --set-type split --remove-sources --log rebuild.log",
      "merge --rom-path roms --clean-set --remove-old",
      "split --rom-path roms --clean-set --remove-old",
      "unmerge --full --rom-path roms --clean-set --remove-old",
  };
  for (const std::string& command : commands) {
    SCOPED_TRACE(command);
    TempFolder root;
    ASSERT_TRUE(testing::BuildDemoCollection(root / "demo"));
    std::filesystem::rename(root / "demo/roms", root / "roms");
    std::filesystem::rename(root / "demo/samples", root / "samples");
    std::filesystem::create_directories(root / "built");
    std::filesystem::create_directories(root / "data/BACKUP.KPW");
    const std::string arguments = command + " --datfile " + testing::DemoDat() + " --data-folder data --temp-folder " +
                                  root.path();
    const Tree before = Snapshot(root);

    const testing::CliRun dry = testing::RunCli(root, arguments + " --dry-run", "yes-to-all");
    EXPECT_EQ(Snapshot(root), before);
    EXPECT_FALSE(std::filesystem::exists(root / "data/fastscan.fsc"));
    const testing::CliRun real = testing::RunCli(root, arguments, "yes-to-all");
    EXPECT_EQ(dry.status, real.status);
    EXPECT_EQ(dry.out.substr(0, dry.out.find("Dry run, nothing written")).substr(0, real.out.size()), real.out);

    std::vector<std::string> written;
    Tree after = Snapshot(root);
    after.erase(root / "scan.log");  // the real run's logfile, written outside the tool
    after.erase(root / "rebuild.log");
    Tree listed = Apply(dry.out, before, written);
    for (const std::string& path : written) listed[path] = after.count(path) ? after.at(path) : "missing";
    EXPECT_EQ(listed, after) << dry.out;
  }
}

}  // namespace
}  // namespace kestrel
