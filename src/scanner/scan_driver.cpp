#include "scanner/scan_driver.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "gamedb/crc_index.h"
#include "gamedb/disk_home.h"
#include "gamedb/rom_home.h"
#include "platform/paths.h"
#include "platform/thread_priority.h"
#include "report/fastscan_file.h"
#include "report/game_results.h"
#include "report/path_warnings.h"
#include "report/statistics_text.h"
#include "scanner/disk_set_check.h"
#include "scanner/fix_operations.h"
#include "scanner/leftover_cleanup.h"
#include "scanner/game_set_check.h"
#include "scanner/neogeo_bios.h"
#include "scanner/rom_set_check.h"
#include "scanner/sample_set_check.h"
#include "scanner/scan_context.h"
#include "scanner/set_lookup.h"
#include "scanner/set_read_ahead.h"
#include "scanner/top_level_pass.h"
#include "scanner/unneeded_check.h"
#include "scanner/wrong_named_set_check.h"
#include "settings/enabled_paths.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

constexpr char kBackupWarning[] =
    "You will do a 'find/fix unneeded files' operation.\nYou have disabled the backup option "
    "!\n\nDo you really want to go on ?";
constexpr char kBackupWarningTitle[] = "Warning !";

// A fresh record for the game's findings; a fastscan keeps the flag it
// loaded.
void ResetSetScan(const GameSet& game, SetScan& scan, bool fullScan) {
  bool needsScan = fullScan || scan.needsScan;
  scan = SetScan{};
  scan.needsScan = needsScan;
  scan.roms.resize(game.roms.size());
  scan.samples.resize(game.samples.size());
  scan.disks.resize(game.disks.size());
}

// Counts the totals, resets every game's findings and answers the number
// of games the scan will look at.
int PrepareGames(const GameList& database, ScanResults& scanResults, bool fullScan,
                 ScanStatistics& statistics) {
  int toScan = 0;
  for (size_t i = 0; i < database.size(); ++i) {
    const GameSet& game = database[i];
    CountGameTotals(game, statistics);
    ResetSetScan(game, scanResults[i], fullScan);
    if (game.selected && scanResults[i].needsScan) ++toScan;
  }
  return toScan;
}

bool DeclinesBackupWarning(const SettingsRecord& settings, UserInterface* owner) {
  if (!settings.checkUnneeded || !settings.fixUnneeded || settings.makeBackups) return false;
  int answer = ShowMessage(owner, kBackupWarning, kBackupWarningTitle,
                           {MessageButtons::kYesNo, MessageIcon::kExclamation});
  return answer == kResultNo;
}

void ResetState(ScanState& state, const SettingsRecord& settings,
                const std::vector<std::string>& romPaths) {
  state = ScanState{};
  state.fixUnneeded = settings.fixUnneeded;
  state.fixLength = settings.fixLength;
  state.fixCase = settings.fixCase;
  state.fixName = settings.fixName;
  state.firstRomPath = romPaths.empty() ? "" : romPaths.front();
  state.unknownGame = MakeUnknownGame();
}

bool StopAsked(const ScanContext& context) { return context.state.stopRequested; }

void RemoveUnneeded(ScanContext& context, const GameSet& game, std::vector<FoundEntry>& entries) {
  ShowFixingCaption(context);
  RemoveUnneededEntries(context, game, entries);
  ShowScanningCaption(context);
}

// The entries at the top of the paths. False when the user stopped.
bool ScanTopLevel(ScanContext& context, ResultsModel& results, ScanStatistics& statistics) {
  const SettingsRecord& settings = context.settings;
  if (!settings.scanGames || (!settings.checkUnneeded && !settings.checkName)) return true;
  CollectUnknownEntries(context);
  std::vector<FoundEntry>& unknown = context.state.unknownEntries;

  if (settings.checkName && !unknown.empty()) {
    std::vector<CrcIndexEntry> crcIndex;
    std::vector<ZeroCrcIndexEntry> zeroCrcIndex;
    BuildCrcIndex(context.database, crcIndex, zeroCrcIndex);
    std::vector<FoundEntry> remaining;
    for (FoundEntry& entry : unknown) {
      if (!CheckWrongNamedSet(context, entry.name, crcIndex, results, statistics)) {
        remaining.push_back(std::move(entry));
      }
      if (StopAsked(context)) return false;
    }
    unknown = std::move(remaining);
    if (!settings.checkUnneeded) unknown.clear();
  }
  if (settings.checkUnneeded && settings.fixUnneeded) {
    RemoveUnneeded(context, context.state.unknownGame, unknown);
  }
  for (const FoundEntry& entry : unknown) AddUnneededEntryLine(entry, settings, results, statistics);
  return !StopAsked(context);
}

bool IsSkippedByGameType(const SettingsRecord& settings, const GameSet& game) {
  return (settings.scanGameTypes == ScanGameTypes::kArcadeOnly && game.hasNeoGeoBios) ||
         (settings.scanGameTypes == ScanGameTypes::kNeoGeoOnly && !game.hasNeoGeoBios);
}

// Whether the layout puts any file into the sets the game is looked for as:
// its own, and in merged sets its parent's. Games whose every ROM and disk
// lives in a BIOS set (or, split, in the parent's set) have none, and an
// absent set is then no finding.
bool LayoutFillsGameSets(const ScanContext& context, const GameSet& game) {
  SetLayout layout = context.settings.scanMergeMode;
  auto fills = [&](const GameSet& set) {
    return HoldsAnyDump(context.database, set, layout) || HoldsAnyDiskDump(context.database, set, layout);
  };
  if (fills(game)) return true;
  const GameSet* parent = ParentOf(context, game);
  return layout == SetLayout::kMerged && parent != nullptr && fills(*parent);
}

// False when the user stopped.
bool ScanGameSets(ScanContext& context, GameSet& game, SetScan& scan) {
  bool merged = context.settings.scanMergeMode == SetLayout::kMerged;
  for (const std::string& path : context.romPaths) {
    if (merged && game.hasParent) CheckGameSet(context, game, scan, SetPathOf(path, game.cloneOf));
    CheckGameSet(context, game, scan, SetPathOf(path, game.name));
    if (StopAsked(context)) return false;
  }
  // A set that the layout leaves empty is where it should be: nowhere.
  if (!scan.found && !LayoutFillsGameSets(context, game)) {
    scan.found = true;
    scan.caseCorrect = true;
  }
  return true;
}

bool AddMissingRoms(ScanContext& context, GameSet& game, SetScan& scan) {
  for (size_t i = 0; i < game.roms.size(); ++i) {
    const RomEntry& rom = game.roms[i];
    // No file of a ROM never dumped exists to be added; nor one that is
    // there but cannot be read.
    if (scan.roms[i].found || scan.roms[i].unreadable || IsNeoGeoBiosRom(rom) || rom.status == DumpStatus::kNoDump) continue;
    ShowFixingCaption(context);
    bool carriedOn = AddMissingRom(context, game, scan, i);
    ShowScanningCaption(context);
    if (!carriedOn) {
      context.state.stopRequested = true;
      return false;
    }
  }
  return true;
}

bool ScanRomSets(ScanContext& context, GameSet& game, SetScan& scan) {
  const SettingsRecord& settings = context.settings;
  std::vector<const GameSet*> searched = SetsSearchedFor(context.database, game, settings.scanMergeMode);
  auto searches = [&](const GameSet* set) {
    return set != nullptr && std::find(searched.begin(), searched.end(), set) != searched.end();
  };
  const GameSet* bios = game.biosIndex >= 0 ? &context.database[size_t(game.biosIndex)] : nullptr;
  bool sharesParentSet = searches(ParentOf(context, game));
  bool sharesBiosSet = searches(bios);
  context.state.createZipSet = true;
  for (const std::string& path : context.romPaths) {
    for (const GameSet* device : DeviceSetsOf(context.database, game))
      if (searches(device)) CheckRomSet(context, game, scan, SetPathOf(path, device->name), SetRole::kDeviceSet, device);
    if (sharesBiosSet) CheckRomSet(context, game, scan, SetPathOf(path, game.biosOf), SetRole::kBiosSet);
    if (sharesParentSet) CheckRomSet(context, game, scan, SetPathOf(path, game.cloneOf), SetRole::kParentSet);
    if (!game.hasParent && game.biosIndex < 0 && !game.romOf.empty())
      NoteUnlistedParentZip(context, SetPathOf(path, game.romOf), scan);
    CheckRomSet(context, game, scan, SetPathOf(path, game.name), SetRole::kOwnSet);
    if (settings.checkUnneeded) CheckRomSetUnneeded(context, game, scan, path);
    if (StopAsked(context)) return false;
  }
  CheckGameDisks(context, game, scan);
  if (settings.checkUnneeded) CheckUnneededDisks(context, game, scan);
  // A fix works on what its check found; without the check it does nothing.
  bool addMissing = settings.checkMissing && (settings.fixMissing || settings.fixMissingAdvanced);
  if (addMissing && !context.state.firstRomPath.empty()) {
    return AddMissingRoms(context, game, scan);
  }
  return true;
}

bool ScanSampleSets(ScanContext& context, const GameSet& game, SetScan& scan) {
  const SettingsRecord& settings = context.settings;
  bool altSamples = settings.altSamplesSupport && game.hasSampleOf;
  for (const std::string& path : context.samplePaths) {
    if (altSamples) CheckSampleSet(context, game, scan, SetPathOf(path, game.sampleOf));
    CheckSampleSet(context, game, scan, SetPathOf(path, game.name));
    if (settings.checkUnneeded) CheckSampleSetUnneeded(context, game, scan, path);
    if (StopAsked(context)) return false;
  }
  return true;
}

// Every check of one game. False when the user stopped.
bool ScanGame(ScanContext& context, GameSet& game, SetScan& scan) {
  const SettingsRecord& settings = context.settings;
  if (settings.scanGames && !ScanGameSets(context, game, scan)) return false;
  if (settings.scanRoms && !ScanRomSets(context, game, scan)) return false;
  if (settings.scanSamples && !ScanSampleSets(context, game, scan)) return false;
  if (settings.checkUnneeded) {
    DropNeededEntries(context, scan.unneeded);
    if (settings.fixUnneeded) RemoveUnneeded(context, game, scan.unneeded);
  }
  return !StopAsked(context);
}

// How many games' zips are read ahead at a time: enough to keep the second
// core busy, few enough that their directories take little memory.
constexpr int kReadAheadGames = 64;

// The sets whose zips a game's checks may read: in every ROM path its own,
// its parent's in merged sets and those the layout searches for its ROMs;
// in every sample path its own and the one it takes samples from. Reading
// one more than the checks ask for costs time, never a finding.
void AddSetPathsOf(const ScanContext& context, const GameSet& game, std::vector<std::string>& setPaths) {
  SetLayout layout = context.settings.scanMergeMode;
  std::vector<const GameSet*> searched = SetsSearchedFor(context.database, game, layout);
  for (const std::string& path : context.romPaths) {
    if (layout == SetLayout::kMerged && game.hasParent) setPaths.push_back(SetPathOf(path, game.cloneOf));
    setPaths.push_back(SetPathOf(path, game.name));
    for (const GameSet* set : searched) setPaths.push_back(SetPathOf(path, set->name));
  }
  for (const std::string& path : context.samplePaths) {
    if (game.hasSampleOf) setPaths.push_back(SetPathOf(path, game.sampleOf));
    setPaths.push_back(SetPathOf(path, game.name));
  }
}

bool WillScan(const ScanContext& context, const GameSet& game, const SetScan& scan) {
  return game.selected && scan.needsScan && !IsSkippedByGameType(context.settings, game);
}

// Starts reading the zips of the next kReadAheadGames games the scan will
// check, from the game `first` on; answers the index after the last.
size_t StartReadAhead(const ScanContext& context, const ScanResults& scanResults, size_t first,
                      SetReadAhead& readAhead) {
  std::vector<std::string> setPaths;
  size_t end = first;
  for (int taken = 0; end < context.database.size() && taken < kReadAheadGames; ++end) {
    if (!WillScan(context, context.database[end], scanResults[end])) continue;
    AddSetPathsOf(context, context.database[end], setPaths);
    ++taken;
  }
  readAhead.Start(std::move(setPaths));
  return end;
}

// True when it went through every game.
// `readAheadEnd`: where the batch being read ahead ends.
bool RunMainScan(ScanContext& context, ScanResults& scanResults, ProgressDialog& progress,
                 ResultsModel& results, ScanStatistics& statistics, SetReadAhead& readAhead, size_t readAheadEnd) {
  ClearInterruptedWrites(context, results);
  if (!ScanTopLevel(context, results, statistics)) return false;
  size_t takenEnd = 0;
  for (size_t i = 0; i < context.database.size(); ++i) {
    GameSet& game = context.database[i];
    SetScan& scan = scanResults[i];
    if (!game.selected || !scan.needsScan) continue;
    if (i >= takenEnd) {
      readAhead.TakeStarted();
      takenEnd = readAheadEnd;
      readAheadEnd = StartReadAhead(context, scanResults, takenEnd, readAhead);
    }
    progress.SetText("\n\n " + game.description);
    progress.Step();
    if (context.state.cancelRequested || progress.IsCancelled()) return false;
    if (IsSkippedByGameType(context.settings, game)) continue;
    if (!ScanGame(context, game, scan)) return false;
    // A parent listed after its clone is not scanned yet: MAME's verdict on a
    // software item that looks there finds nothing of it.
    const ParentScan parent = FindParentScan(context.database, scanResults, game);
    scan.needsScan = BuildGameResults(game, scan, context.settings, results, statistics, parent);
  }
  return true;
}

}  // namespace

ScanOutcome RunScan(GameList& database, ScanResults& scanResults, SettingsRecord& settings,
                    UserInterface* owner, ResultsModel& results, const ScanRequest& request) {
  ScanOutcome outcome;
  outcome.refused = true;
  if (!CheckPathWarnings(settings, database, owner)) return outcome;
  scanResults.resize(database.size());
  if (request.fastscan && !LoadFastscan(settings.fastscanFile, settings, request.dataCrc, scanResults, owner)) {
    return outcome;
  }
  // Asked before anything is reset, so that declining leaves the last
  // scan's findings in place.
  if (DeclinesBackupWarning(settings, owner)) return outcome;
  outcome.refused = false;

  int toScan = PrepareGames(database, scanResults, !request.fastscan, outcome.statistics);
  ScopedThreadPriority priority(settings.threadPriority);
  std::unique_ptr<ProgressDialog> progress = OpenProgressDialog(owner, kScanningCaption);
  ClearResults(results);
  progress->SetText("");
  progress->SetRange(0, toScan);
  progress->SetStep(1);

  ScanState state;
  ScanContext context{.database = database,
                      .settings = settings,
                      .state = state,
                      .owner = owner,
                      .zipLibrary = request.zipLibrary,
                      .dataFolder = request.dataFolder,
                      .romPaths = EnabledPaths(settings.romPaths),
                      .samplePaths = EnabledPaths(settings.samplePaths),
                      .folders = FolderIndex(request.fs.get()),
                      .fs = request.fs.get()};
  if (request.zipLibrary != nullptr) context.zipHeaderCheck = request.zipLibrary->headerCheck;
  context.resizeQuestionMilliseconds = request.resizeQuestionMilliseconds;
  ResetState(state, settings, context.romPaths);
  IndexSampleSetUsers(context);
  IndexRomlessSetsRead(context, request.romless != nullptr ? *request.romless : RomlessMachines{});
  state.progress = progress.get();
  // The first games' zips are read while the paths' tops are looked at; a
  // repair there makes the check read them again.
  SetReadAhead readAhead(context.fs, context.zipHeaderCheck, context.folders);
  context.readAhead = &readAhead;
  size_t readAheadEnd = StartReadAhead(context, scanResults, 0, readAhead);
  DetectNeoGeoBios(context.fs, context.folders, context.romPaths, context.zipHeaderCheck, state);

  outcome.ranToEnd = RunMainScan(context, scanResults, *progress, results, outcome.statistics, readAhead, readAheadEnd);
  outcome.statisticsText = BuildStatistics(outcome.statistics, settings, request.showStatistics ? owner : nullptr);
  if (outcome.ranToEnd && request.saveFastscan) SaveFastscan(settings.fastscanFile, settings, request.dataCrc, scanResults);
  state.progress = nullptr;
  return outcome;
}

}  // namespace kestrel
