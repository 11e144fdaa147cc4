#include "conservation/conservation_run.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <utility>

#include "archive/zip_reader.h"
#include "conservation/scenario.h"
#include "gamedb/game_list_file.h"
#include "gamedb/validate_games.h"
#include "platform/paths.h"
#include "report/results_model.h"
#include "settings/layout_codes.h"
#include "support/crc_data.h"
#include "support/faulty_file_system.h"

namespace kestrel::testing {

bool ToolBench::LoadList(const std::string& text) {
  WriteFile(root / "list.dat", text);
  GameList raw;
  ListMessages messages;
  auto progress = OpenProgressDialog(&ui, "");
  return ParseGameList(raw, root / "list.dat", *progress, false, messages) &&
         ValidateGames(raw, database, *progress, kShowNoListErrors, messages);
}

SettingsRecord ToolBench::Settings() const {
  SettingsRecord settings;
  settings.tempFolder = root / "temp/";
  settings.backupFolder = root / "backup/";
  settings.pathWarnings = settings.askBeforeFixing = settings.zeroCrcCreation = false;
  settings.fastscanFile = root / "fastscan.fsc";
  settings.scannerLogfile = root / "kestrel.log";
  return settings;
}

std::string ToolBench::Rebuild(SettingsRecord settings, FileSystem& fs) {
  if (!CheckRebuildFolders(settings, &ui)) return "the folders were refused";
  RebuildOutcome outcome = RunRebuild(database, settings, zipLibrary, &ui, fs);
  return outcome.refused ? "refused" : !outcome.completed ? "broke off" : "";
}

MergeOutcome ToolBench::Merge(SettingsRecord settings, MergeButton button, FileSystem& fs) {
  return RunMerger(database, settings, &ui, zipLibrary, button, fs);
}

std::string ToolBench::Scan(SettingsRecord settings, FileSystem& fs, std::vector<std::string>* findings) {
  settings.checkMissing = settings.checkName = settings.checkLength = settings.checkUnneeded = true;
  settings.checkChecksum = settings.checkCase = true;
  GameList games = database;
  ScanResults scanResults;
  ResultsModel results;
  ScanRequest request;
  request.fs = fs;
  request.dataFolder = root / "program/";
  request.zipLibrary = &zipLibrary;
  request.showStatistics = false;
  ScanOutcome outcome = RunScan(games, scanResults, settings, &ui, results, request);
  for (const ResultLine& line : results.lines)
    if (findings != nullptr) findings->push_back(line.text);
  return outcome.refused ? "refused" : !outcome.ranToEnd ? "broke off" : "";
}

namespace {

// Every content in a few folders, by CRC-32 and size: each loose file's,
// each member's of a readable zip, and a zip that does not read whole as
// one file; with where it was seen ("path" or "path.zip:member").
using Inventory = std::map<std::pair<uint32_t, uint64_t>, std::vector<std::string>>;

// Files the tools write beside the one they replace, before the rename:
// never the user's, and left behind only by a write that broke off.
bool IsToolTemporary(const std::string& name) {
  if (name.rfind(".kestrel-", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".tmp") return true;
  size_t dot = name.rfind('.');
  return dot != std::string::npos && dot >= 4 && name.size() - dot == 7 && HasZipExtension(name.substr(0, dot));
}

// A readable zip by its members (a zip inside one, as a backup holds a
// whole set, by its members too), else the file's bytes; an empty zip is
// its end record alone and holds nothing to keep.
void AddFile(Inventory& inventory, const std::string& path, const std::string& where, const std::string& scratch,
             int depth) {
  ZipEntryList members;
  if (HasZipExtension(where) && ReadZipDirectory(RealFileSystem(), path, members, false, nullptr)) {
    std::string memberScratch = scratch + std::to_string(depth);
    Inventory found;
    bool whole = true;
    for (size_t i = 0; whole && i < members.size(); ++i) {
      whole = ExtractZipEntry(RealFileSystem(), members[i], memberScratch);
      if (whole) AddFile(found, memberScratch, where + ":" + members[i].storedName, scratch, depth + 1);
      std::remove(memberScratch.c_str());
    }
    if (whole) {
      for (auto& [key, places] : found) inventory[key].insert(inventory[key].end(), places.begin(), places.end());
      return;
    }
  }
  std::string bytes = ReadFile(path);
  if (bytes.size() != 22 || bytes.rfind("PK\5\6", 0) != 0) inventory[{CrcOf(bytes), bytes.size()}].push_back(where);
}

Inventory TakeInventory(const std::vector<std::string>& folders, const std::string& scratch) {
  Inventory inventory;
  for (const std::string& folder : folders) {
    std::error_code error;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder, error))
      if (item.is_regular_file() && !IsToolTemporary(item.path().filename().string()))
        AddFile(inventory, item.path().string(), item.path().string(), scratch, 0);
  }
  return inventory;
}

// One line for each content of `before` that `after` lacks, naming where it was.
std::vector<std::string> LostContents(const Inventory& before, const Inventory& after) {
  std::vector<std::string> lost;
  for (const auto& [key, places] : before) {
    if (after.count(key) != 0) continue;
    char line[64];
    std::snprintf(line, sizeof line, "crc %08x size %llu, was at", key.first, static_cast<unsigned long long>(key.second));
    lost.push_back(line);
    for (const std::string& place : places) lost.back() += " " + place;
  }
  return lost;
}

enum class Tool { kRebuild, kMergeToMerged, kMergeToSplit, kUnmerge, kScanRepairs };

enum class Interruption {
  kNone,
  kOneDiskChangeFails,  // the Nth rename or removal fails, the rest work
  kDiskFailsFrom,       // the Nth rename or removal and all after it fail
  kCancel,              // the user cancels at the Nth look at the Cancel button
  kZipWriteFails,       // the merger's Nth archive write fails
};

// One run of a tool over the collection, with its options and, maybe, a
// fault that breaks it off: the unit a run repeats in random order.
struct Step {
  Tool tool = Tool::kRebuild;
  SettingsRecord settings;  // every tool's options are drawn; each tool reads its own
  Interruption interruption = Interruption::kNone;
  // Where the interruption falls, in thousandths of the way through the
  // disk changes, Cancel looks or zip writes a run without it makes; `at`
  // is its N and `outOf` their count, once such a run has counted them.
  int position = 0, at = 0, outOf = 0;
};

// The temporary file of every zip write, whose rename is the write's commit.
constexpr char kZipCommits[] = "*.zip.??????";

class ConservationRun : public ToolBench {
 public:
  ConservationRun(uint32_t seed, std::vector<Tool> tools) : seed_(seed), tools_(std::move(tools)) {
    for (const std::string& folder : {romPaths_[0], romPaths_[1], source_}) std::filesystem::create_directories(folder);
  }

  RunReport Run() {
    RunReport report;
    Scenario scenario = MakeScenario(seed_, romPaths_, source_);
    WriteScenario(scenario);
    if (!LoadList(DatfileText(scenario))) {
      report.failures.push_back("the game list does not load:\n" + DatfileText(scenario));
      return report;
    }
    std::mt19937 random(seed_ * 2654435761u + 7);
    for (int i = 1, steps = std::uniform_int_distribution<int>(3, 6)(random); i <= steps; ++i) {
      Step step = RandomStep(random);
      if (step.interruption != Interruption::kNone) PlaceInterruption(step);
      report.steps.push_back(Describe(step));
      if (!CheckStep(step, "step " + std::to_string(i) + ", " + report.steps.back(), report)) break;
    }
    if (!report.failures.empty() && std::getenv("KESTREL_CONSERVATION_KEEP") != nullptr) KeepFolders(report);
    return report;
  }

 private:
  Step RandomStep(std::mt19937& random) const {
    auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto chance = [&](int percent) { return between(1, 100) <= percent; };
    Step step;
    step.tool = tools_[size_t(between(0, int(tools_.size()) - 1))];
    SettingsRecord& s = step.settings;
    s = Settings();
    s.romPaths = {{romPaths_[0]}, {romPaths_[1]}};
    s.rebuildSource = source_;
    s.rebuildGameTypes = RebuildGameTypes::kBiosInEverySet;
    s.mergeMode = step.tool == Tool::kMergeToMerged ? SetLayout::kMerged : SetLayout::kSplit;
    s.mergeCleanSet = chance(50);
    s.mergeRemoveOld = chance(50);
    s.mergeZip = s.rebuildZip = chance(70);
    s.rebuildRemoveSources = chance(50);
    s.rebuildMergeMode = kToolLayoutCodes[between(0, 2)];
    s.rebuildDestination = romPaths_[size_t(between(0, 1))];
    s.scanMergeMode = kToolLayoutCodes[between(0, 2)];
    s.fixName = chance(60);
    s.fixUnneeded = chance(60);
    s.fixMissing = chance(50);
    s.fixLength = chance(30);
    s.fixCase = chance(30);
    if (chance(45)) {
      bool isMerge = step.tool != Tool::kRebuild && step.tool != Tool::kScanRepairs;
      step.interruption = static_cast<Interruption>(1 + between(0, isMerge ? 3 : 2));
      step.position = between(0, 999);
    }
    return step;
  }

  // In words, for a failure message: "merged (Clean Set, zips), zip write 3 of 7 failing".
  std::string Describe(const Step& step) const {
    const SettingsRecord& s = step.settings;
    std::vector<std::pair<bool, std::string>> options;
    if (step.tool == Tool::kRebuild)
      options = {{true, s.rebuildDestination == romPaths_[0] ? "into ROM path 1" : "into ROM path 2"},
                 {true, LayoutName(s.rebuildMergeMode)}, {s.rebuildRemoveSources, "removing sources"}};
    else if (step.tool == Tool::kScanRepairs)
      options = {{true, LayoutName(s.scanMergeMode)}, {s.fixName, "fix names"}, {s.fixUnneeded, "fix unneeded"},
                 {s.fixMissing, "fix missing"}, {s.fixLength, "fix lengths"}, {s.fixCase, "fix case"}};
    else
      options = {{s.mergeCleanSet, "Clean Set"}, {s.mergeRemoveOld, "Remove Old"}};
    if (step.tool != Tool::kScanRepairs) options.emplace_back(true, s.mergeZip ? "zips" : "folders");
    std::string text;
    for (const auto& [on, name] : options)
      if (on) text += (text.empty() ? "" : ", ") + name;
    const char* kFaults[] = {"", ", disk change %d of %d failing", ", every disk change from %d of %d on failing",
                             ", cancelled at look at Cancel %d of %d", ", zip write %d of %d failing"};
    char fault[64];
    std::snprintf(fault, sizeof fault, kFaults[int(step.interruption)], step.at, step.outOf);
    return kToolKeys[size_t(step.tool)] + " (" + text + ")" + fault;
  }

  // Adds to the report; false when the run is to stop.
  bool CheckStep(const Step& step, std::string name, RunReport& report) {
    Inventory before = Look();
    std::string incomplete = RunStep(step);
    Inventory after = Look();
    for (const std::string& lost : LostContents(before, after)) report.failures.push_back(name + " lost " + lost);
    if (!report.failures.empty()) return false;
    if (step.interruption != Interruption::kNone) {
      name += ", run again without the fault,";
      Step again = step;
      again.interruption = Interruption::kNone;
      incomplete = RunStep(again);
      for (const std::string& lost : LostContents(after, Look())) report.failures.push_back(name + " lost " + lost);
    }
    if (!incomplete.empty()) report.failures.push_back(name + " did not go through: " + incomplete);
    return report.failures.empty();
  }

  // "" when the step went through, else why not, with what the user was told.
  std::string RunStep(const Step& step) {
    ui = GoingOnInterface();
    ui.cancelAtCheck = step.interruption == Interruption::kCancel ? step.at : 0;
    disk_ = std::make_unique<FaultyFileSystem>();
    if (step.interruption == Interruption::kZipWriteFails)
      disk_->Fail({FileOperation::kReplace, kZipCommits, step.at, false});
    if (step.interruption == Interruption::kOneDiskChangeFails || step.interruption == Interruption::kDiskFailsFrom)
      disk_->Fail({FileOperation::kAnyChange, "*", step.at, step.interruption == Interruption::kDiskFailsFrom});
    std::string incomplete = step.tool == Tool::kRebuild       ? Rebuild(step.settings, *disk_)
                             : step.tool == Tool::kScanRepairs ? Scan(step.settings, *disk_)
                                                               : RunMerger(step);
    if (incomplete.empty()) return incomplete;
    for (const RecordedMessage& said : ui.messages) incomplete += " [said: " + said.text + "]";
    for (const RecordedMessage& asked : ui.questions) incomplete += " [asked: " + asked.text + "]";
    return incomplete;
  }

  std::string RunMerger(const Step& step) {
    MergeButton button = step.tool == Tool::kUnmerge ? MergeButton::kUnmerge : MergeButton::kMerge;
    MergeOutcome outcome = Merge(step.settings, button, *disk_);
    std::string incomplete = std::string(outcome.started ? "" : " refused to start;") + (outcome.stopped ? " stopped;" : "");
    for (const SkippedFamily& skipped : outcome.skipped)
      incomplete += " skipped " + skipped.parent + " (" + skipped.workFolder + ");";
    if (step.interruption != Interruption::kNone) return incomplete;  // it may leave its work folders
    for (const std::string& path : romPaths_) {
      std::error_code error;
      for (const auto& item : std::filesystem::recursive_directory_iterator(path, error))
        if (item.is_directory() && item.path().extension() == ".kpw") incomplete += " left " + item.path().string() + ";";
    }
    return incomplete;
  }

  Inventory Look() const { return TakeInventory(watched_, root / "scratch.bin"); }

  // Counts what the interruption falls among in a run without it, then
  // puts the folders back and sets step.at.
  void PlaceInterruption(Step& step) {
    namespace fs = std::filesystem;
    std::string stash = root / "stash/";
    std::error_code error;
    fs::create_directories(stash, error);
    for (size_t i = 0; i < watched_.size(); ++i)
      fs::copy(watched_[i], stash + std::to_string(i), fs::copy_options::recursive, error);
    Step plain = step;
    plain.interruption = Interruption::kNone;
    RunStep(plain);
    step.outOf = step.interruption == Interruption::kZipWriteFails ? disk_->CallsSeen(FileOperation::kReplace, kZipCommits)
                 : step.interruption == Interruption::kCancel      ? ui.cancelChecks
                                                                   : disk_->CallsSeen(FileOperation::kAnyChange);
    step.at = 1 + step.position * std::max(step.outOf, 1) / 1000;
    for (size_t i = 0; i < watched_.size(); ++i) {
      fs::remove_all(watched_[i], error);
      if (fs::exists(stash + std::to_string(i))) fs::rename(stash + std::to_string(i), watched_[i], error);
    }
    fs::remove_all(stash, error);
  }

  void KeepFolders(RunReport& report) const {
    std::string kept = std::filesystem::temp_directory_path().string() + "/kestrel-conservation-" + std::to_string(seed_);
    std::error_code error;
    std::filesystem::remove_all(kept, error);
    std::filesystem::copy(root.path(), kept, std::filesystem::copy_options::recursive, error);
    report.failures.push_back("the folders as the failure left them: " + kept);
  }

  uint32_t seed_;
  std::vector<Tool> tools_;
  std::vector<std::string> romPaths_{root / "roms1/", root / "roms2/"};
  std::string source_ = root / "source/";
  std::vector<std::string> watched_{romPaths_[0], romPaths_[1], source_, root / "backup/"};
  // The disk of the current step, failing where the step's interruption
  // says; it counts the calls of a plain run for PlaceInterruption.
  std::unique_ptr<FaultyFileSystem> disk_;
};

}  // namespace

RunReport RunSeed(uint32_t seed, const std::string& names) {
  std::vector<Tool> tools;
  for (size_t i = 0; i < kToolKeys.size(); ++i)
    if (names.find(kToolKeys[i]) != std::string::npos) tools.push_back(Tool(i));
  if (tools.empty())
    for (size_t i = 0; i < kToolKeys.size(); ++i) tools.push_back(Tool(i));
  return ConservationRun(seed, tools).Run();
}

}  // namespace kestrel::testing
