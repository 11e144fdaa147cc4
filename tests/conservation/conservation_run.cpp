#include "conservation/conservation_run.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <utility>

#include "gamedb/game_list_file.h"
#include "gamedb/validate_games.h"
#include "merger/merger.h"
#include "rebuilder/rebuilder.h"
#include "report/results_model.h"
#include "scanner/scan_driver.h"
#include "settings/settings_record.h"
#include "support/faulty_file_system.h"

namespace kestrel::testing {
namespace {

// The temporary file of every zip write, whose rename is the write's commit.
constexpr char kZipCommits[] = "*.zip.??????";

// Every run starts from a fresh record, as a first use of the tools would.
SettingsRecord BaseSettings(const std::string& root) {
  SettingsRecord settings;
  settings.tempFolder = root + "temp/";
  settings.backupFolder = root + "backup/";
  settings.makeBackups = true;
  settings.pathWarnings = false;
  settings.askBeforeFixing = false;
  settings.zeroCrcCreation = false;
  settings.fastscanFile = root + "fastscan.fsc";
  settings.scannerLogfile = root + "kestrel.log";
  return settings;
}

}  // namespace

ConservationRun::ConservationRun(uint32_t seed, std::vector<Tool> tools) : seed_(seed), tools_(std::move(tools)) {
  romPaths_ = {root_ / "roms1/", root_ / "roms2/"};
  source_ = root_ / "source/";
  backup_ = root_ / "backup/";
  watched_ = {romPaths_[0], romPaths_[1], source_, backup_};
  for (const std::string& folder : {romPaths_[0], romPaths_[1], source_, root_ / "temp/"})
    std::filesystem::create_directories(folder);
}

ConservationRun::~ConservationRun() = default;

RunReport ConservationRun::Run() {
  RunReport report;
  Scenario scenario = MakeScenario(seed_, romPaths_, source_);
  report.notes = scenario.notes;
  WriteScenario(scenario);
  WriteFile(root_ / "list.dat", DatfileText(scenario));
  GameList raw;
  ListMessages listMessages;
  auto progress = OpenProgressDialog(&ui_, "");
  if (!ParseGameList(raw, root_ / "list.dat", *progress, false, listMessages) ||
      !ValidateGames(raw, database_, *progress, 0, listMessages)) {
    report.failures.push_back("the game list does not load:\n" + DatfileText(scenario));
    return report;
  }
  progress.reset();
  std::mt19937 random(seed_ * 2654435761u + 7);
  int steps = std::uniform_int_distribution<int>(3, 6)(random);
  for (int i = 1; i <= steps; ++i) {
    Step step = RandomStep(random, tools_);
    if (step.interruption != Interruption::kNone) PlaceInterruption(step);
    report.steps.push_back(Describe(step));
    if (!CheckStep(step, size_t(i), report)) break;
  }
  if (!report.failures.empty() && std::getenv("KESTREL_CONSERVATION_KEEP") != nullptr) KeepFolders(report);
  return report;
}

bool ConservationRun::CheckStep(const Step& step, size_t number, RunReport& report) {
  std::string name = "step " + std::to_string(number) + ", " + Describe(step);
  Inventory before = Look();
  std::string incomplete = RunStep(step);
  Inventory after = Look();
  for (const std::string& lost : LostContents(before, after)) report.failures.push_back(name + " lost " + lost);
  if (!report.failures.empty()) return false;
  if (step.interruption == Interruption::kNone) {
    if (!incomplete.empty()) report.failures.push_back(name + " did not go through: " + incomplete);
    return report.failures.empty();
  }
  Step again = step;
  again.interruption = Interruption::kNone;
  incomplete = RunStep(again);
  for (const std::string& lost : LostContents(after, Look()))
    report.failures.push_back(name + ", run again without the fault, lost " + lost);
  if (!incomplete.empty()) report.failures.push_back(name + ", run again without the fault, did not go through: " + incomplete);
  return report.failures.empty();
}

std::string ConservationRun::RunStep(const Step& step) {
  ui_ = GoingOnInterface();
  ui_.cancelAtCheck = step.interruption == Interruption::kCancel ? step.at : 0;
  disk_ = std::make_unique<FaultyFileSystem>();
  if (step.interruption == Interruption::kZipWriteFails)
    disk_->Fail({FileOperation::kReplace, kZipCommits, step.at, false});
  if (step.interruption == Interruption::kOneDiskChangeFails)
    disk_->Fail({FileOperation::kAnyChange, "*", step.at, false});
  if (step.interruption == Interruption::kDiskFailsFrom) disk_->Fail({FileOperation::kAnyChange, "*", step.at, true});
  std::string incomplete = step.tool == Tool::kRebuild       ? RunRebuild(step)
                           : step.tool == Tool::kScanRepairs ? RunScan(step)
                                                             : RunMerger(step);
  if (incomplete.empty()) return incomplete;
  for (const RecordedMessage& said : ui_.messages) incomplete += " [said: " + said.text + "]";
  for (const RecordedMessage& asked : ui_.questions) incomplete += " [asked: " + asked.text + "]";
  return incomplete;
}

std::string ConservationRun::RunRebuild(const Step& step) {
  SettingsRecord settings = BaseSettings(root_.path());
  settings.rebuildSource = source_;
  settings.rebuildDestination = romPaths_[size_t(step.destination)];
  settings.rebuildMergeMode = step.rebuildMergeMode;
  settings.rebuildGameTypes = RebuildGameTypes::kBiosInEverySet;
  settings.rebuildZip = step.zipOutput;
  settings.rebuildRemoveSources = step.removeSources;
  settings.rebuildRecursive = true;
  if (!CheckRebuildFolders(settings, &ui_)) return "the folders were refused";
  RebuildOutcome outcome = kestrel::RunRebuild(database_, settings, zipLibrary_, &ui_, *disk_);
  return outcome.refused ? "refused" : !outcome.completed ? "broke off" : "";
}

std::string ConservationRun::RunMerger(const Step& step) {
  SettingsRecord settings = BaseSettings(root_.path());
  settings.romPaths = {{romPaths_[0]}, {romPaths_[1]}};
  settings.mergeMode = step.tool == Tool::kMergeToMerged ? SetLayout::kMerged : SetLayout::kSplit;
  settings.mergeCleanSet = step.cleanSet;
  settings.mergeRemoveOld = step.removeOld;
  settings.mergeZip = step.zipOutput;
  MergeButton button = step.tool == Tool::kUnmerge ? MergeButton::kUnmerge : MergeButton::kMerge;
  MergeOutcome outcome = kestrel::RunMerger(database_, settings, &ui_, zipLibrary_, button, *disk_);
  std::string incomplete;
  if (!outcome.started) incomplete += " refused to start;";
  if (outcome.stopped) incomplete += " stopped;";
  for (const SkippedFamily& skipped : outcome.skipped)
    incomplete += " skipped " + skipped.parent + " (" + skipped.workFolder + ");";
  if (step.interruption == Interruption::kNone)
    for (const std::string& left : LeftWorkFolders()) incomplete += " left " + left + ";";
  return incomplete;
}

std::string ConservationRun::RunScan(const Step& step) {
  SettingsRecord settings = BaseSettings(root_.path());
  settings.romPaths = {{romPaths_[0]}, {romPaths_[1]}};
  settings.scanMergeMode = step.scanMergeMode;
  settings.checkMissing = settings.checkName = settings.checkLength = settings.checkUnneeded = true;
  settings.checkChecksum = settings.checkCase = true;
  settings.fixName = step.fixName;
  settings.fixUnneeded = step.fixUnneeded;
  settings.fixMissing = step.fixMissing;
  settings.fixLength = step.fixLength;
  settings.fixCase = step.fixCase;
  GameList games = database_;
  ScanResults scanResults;
  ResultsModel results;
  ScanRequest request;
  request.fs = *disk_;
  request.dataFolder = root_ / "program/";
  request.zipLibrary = &zipLibrary_;
  request.showStatistics = false;
  ScanOutcome outcome = kestrel::RunScan(games, scanResults, settings, &ui_, results, request);
  return outcome.refused ? "refused" : !outcome.ranToEnd ? "broke off" : "";
}

void ConservationRun::PlaceInterruption(Step& step) {
  namespace fs = std::filesystem;
  std::string stash = root_ / "stash/";
  std::error_code error;
  fs::create_directories(stash, error);
  for (size_t i = 0; i < watched_.size(); ++i)
    fs::copy(watched_[i], stash + std::to_string(i), fs::copy_options::recursive, error);
  Step plain = step;
  plain.interruption = Interruption::kNone;
  RunStep(plain);
  int count = step.interruption == Interruption::kZipWriteFails ? disk_->CallsSeen(FileOperation::kReplace, kZipCommits)
              : step.interruption == Interruption::kCancel      ? ui_.cancelChecks
                                                                : disk_->CallsSeen(FileOperation::kAnyChange);
  for (size_t i = 0; i < watched_.size(); ++i) {
    fs::remove_all(watched_[i], error);
    if (fs::exists(stash + std::to_string(i))) fs::rename(stash + std::to_string(i), watched_[i], error);
  }
  fs::remove_all(stash, error);
  step.outOf = count;
  step.at = 1 + step.position * std::max(count, 1) / 1000;
}

void ConservationRun::KeepFolders(RunReport& report) const {
  std::string kept = std::filesystem::temp_directory_path().string() + "/kestrel-conservation-" + std::to_string(seed_);
  std::error_code error;
  std::filesystem::remove_all(kept, error);
  std::filesystem::copy(root_.path(), kept, std::filesystem::copy_options::recursive, error);
  report.notes.push_back("the folders as the failure left them: " + kept);
}

std::vector<std::string> ConservationRun::LeftWorkFolders() const {
  std::vector<std::string> left;
  for (const std::string& path : romPaths_) {
    std::error_code error;
    for (const auto& item : std::filesystem::recursive_directory_iterator(path, error))
      if (item.is_directory() && item.path().extension() == ".kpw") left.push_back(item.path().string());
  }
  return left;
}

}  // namespace kestrel::testing
