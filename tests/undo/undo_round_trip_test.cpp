// Any run of any tool, then an undo, leaves the collection byte for byte as
// it was: on the random collections of the conservation tests (parents and
// clones, misnamed, misplaced and bad ROMs, foreign files, damaged zips,
// loose files to rebuild from), with every fix, and with the process
// stopped dead before or after one of its changes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "conservation/conservation_run.h"
#include "conservation/scenario.h"
#include "support/faulty_file_system.h"
#include "undo/journaled_file_system.h"
#include "undo/run_history.h"
#include "undo/undo_run.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

enum class Tool { kRebuild, kMerge, kSplit, kUnmerge, kScan };

// A disk that ends the process at its Nth change, as a kill or a power cut
// would: just before making it, or just after.
class StoppingDisk : public FaultyFileSystem {
 public:
  StoppingDisk(int stopAt, bool afterChange) : stopAt_(stopAt), after_(afterChange) {}
  template <typename Act>
  auto Change(Act act) {
    const bool stop = ++changes_ == stopAt_;
    if (stop && !after_) _exit(0);
    auto result = act();
    if (stop) _exit(0);
    return result;
  }
  std::unique_ptr<WritableFile> CreateNewFile(std::string_view p) override {
    return Change([&] { return FaultyFileSystem::CreateNewFile(p); });
  }
  bool ReplacePath(std::string_view a, std::string_view b) override {
    return Change([&] { return FaultyFileSystem::ReplacePath(a, b); });
  }
  bool RenamePath(std::string_view a, std::string_view b) override {
    return Change([&] { return FaultyFileSystem::RenamePath(a, b); });
  }
  bool DeleteFile(std::string_view p) override { return Change([&] { return FaultyFileSystem::DeleteFile(p); }); }
  bool CreateFolder(std::string_view p) override { return Change([&] { return FaultyFileSystem::CreateFolder(p); }); }
  bool RemoveFolder(std::string_view p) override { return Change([&] { return FaultyFileSystem::RemoveFolder(p); }); }

 private:
  int stopAt_, changes_ = 0;
  bool after_;
};

class UndoBench : public ToolBench {
 public:
  explicit UndoBench(uint32_t seed) {
    for (const std::string& folder : watched_) fs::create_directories(folder);
    Scenario scenario = MakeScenario(seed, {watched_[0], watched_[1]}, watched_[2]);
    WriteScenario(scenario);
    loaded = LoadList(DatfileText(scenario));
  }

  // Every file's bytes and every folder under the collection, the rebuild
  // source, the backups and the temporary folder.
  std::map<std::string, std::string> Contents() const {
    std::map<std::string, std::string> contents;
    for (const std::string& folder : watched_)
      for (const auto& item : fs::recursive_directory_iterator(folder))
        contents[item.path().string()] = item.is_directory() ? "<folder>" : ReadFile(item.path().string());
    return contents;
  }

  void RunTool(Tool tool, FileSystem& disk) {
    SettingsRecord s = Settings();
    s.romPaths = {{watched_[0]}, {watched_[1]}};
    s.rebuildSource = watched_[2];
    s.rebuildDestination = watched_[0];
    s.rebuildRemoveSources = s.mergeCleanSet = s.mergeRemoveOld = true;
    s.mergeMode = tool == Tool::kMerge ? SetLayout::kMerged : SetLayout::kSplit;
    s.fixName = s.fixUnneeded = s.fixMissing = s.fixLength = s.fixCase = true;
    if (tool == Tool::kRebuild) Rebuild(s, disk);
    if (tool == Tool::kScan) Scan(s, disk);
    if (tool != Tool::kRebuild && tool != Tool::kScan)
      Merge(s, tool == Tool::kUnmerge ? MergeButton::kUnmerge : MergeButton::kMerge, disk);
  }

  // The tool's run journaled, stopped at its `stopAt`th change (0: never),
  // in a child process so that the stop is a real one.
  void RunJournaled(Tool tool, int stopAt, bool afterChange) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      StoppingDisk disk(stopAt, afterChange);
      JournaledFileSystem journaled(disk, undoFolder, "test");
      RunTool(tool, journaled);
      journaled.Finish();
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
  }

  bool loaded = false;
  std::vector<std::string> watched_{root / "roms1/", root / "roms2/", root / "source/", root / "backup/",
                                    root / "temp/"};
  std::string undoFolder = root / "data/undo/";
};

// The paths whose bytes (or whose being there) differ.
std::vector<std::string> Differences(const std::map<std::string, std::string>& a,
                                     const std::map<std::string, std::string>& b) {
  std::vector<std::string> paths;
  for (const auto& [path, bytes] : a)
    if (!b.count(path) || b.at(path) != bytes) paths.push_back(path);
  for (const auto& [path, bytes] : b)
    if (!a.count(path)) paths.push_back(path);
  return paths;
}

struct Trip {
  uint32_t seed;
  Tool tool;
  int stopAt;  // 0: the run goes to its end
  bool afterChange;
};

void PrintTo(const Trip& trip, std::ostream* out) {
  *out << "seed " << trip.seed << " tool " << int(trip.tool) << " stop " << trip.stopAt
       << (trip.afterChange ? " after" : " before");
}

class UndoRoundTrip : public ::testing::TestWithParam<Trip> {};

TEST_P(UndoRoundTrip, LeavesEveryByteAsBefore) {
  const Trip trip = GetParam();
  UndoBench bench(trip.seed);
  ASSERT_TRUE(bench.loaded);
  const auto before = bench.Contents();
  bench.RunJournaled(trip.tool, trip.stopAt, trip.afterChange);
  std::vector<RunRecord> runs = ListRuns(bench.undoFolder);
  ASSERT_EQ(runs.size(), 1u) << "the run changed nothing";
  EXPECT_EQ(runs[0].journal.ended, trip.stopAt == 0 || runs[0].journal.entries.size() < size_t(trip.stopAt));
  UndoOutcome outcome = UndoRun(RealFileSystem(), runs[0].folder);
  for (const UndoProblem& failure : outcome.failures) ADD_FAILURE() << failure.path << ": " << failure.reason;
  for (const UndoProblem& kept : outcome.setAside) ADD_FAILURE() << kept.path << ": " << kept.reason;
  EXPECT_EQ(Differences(before, bench.Contents()), std::vector<std::string>{});
}

std::vector<Trip> Trips() {
  std::vector<Trip> trips;
  for (uint32_t seed : {1u, 2u, 4u, 6u})
    for (Tool tool : {Tool::kRebuild, Tool::kMerge, Tool::kSplit, Tool::kUnmerge, Tool::kScan})
      trips.push_back({seed, tool, 0, false});
  for (Tool tool : {Tool::kRebuild, Tool::kMerge, Tool::kSplit, Tool::kUnmerge, Tool::kScan})
    for (int stopAt : {1, 4, 11, 23, 40})
      for (bool after : {false, true}) trips.push_back({5, tool, stopAt, after});
  return trips;
}

const char* const kToolNames[] = {"rebuild", "merge", "split", "unmerge", "scan"};

std::string TripName(const ::testing::TestParamInfo<Trip>& info) {
  const Trip& t = info.param;
  const char* const* names = kToolNames;
  return "Seed" + std::to_string(t.seed) + "_" + names[int(t.tool)] +
         (t.stopAt == 0 ? "" : "_stop" + std::to_string(t.stopAt) + (t.afterChange ? "after" : "before"));
}

INSTANTIATE_TEST_SUITE_P(Runs, UndoRoundTrip, ::testing::ValuesIn(Trips()), TripName);

}  // namespace
}  // namespace kestrel::testing
