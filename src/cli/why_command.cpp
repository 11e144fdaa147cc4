#include "cli/why_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "app/user_interface.h"
#include "archive/folder_tree.h"
#include "cli/exit_status.h"
#include "gamedb/rom_home.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "report/logiqx_datfile.h"
#include "report/rom_candidates.h"
#include "scanner/scan_driver.h"
#include "settings/scan_switches.h"

namespace kestrel {
namespace {

// What the scan found wrong with the ROM; empty when nothing.
std::string RomFault(const RomEntry& rom, const RomScan& scan) {
  if (rom.noDump || rom.deviceSet >= 0) return {};
  if (scan.unreadable) return "unreadable";
  if (!scan.found) return MayLackRom(rom) ? "" : "missing";
  if (!scan.lengthCorrect) return "wrong length: " + std::to_string(scan.foundSize);
  if (scan.sha1Wrong) return "wrong sha1: " + scan.foundSha1;
  if (!scan.checksumCorrect) return "wrong checksum: " + CrcText(scan.foundCrc);
  return {};
}

// Only what tells whether each ROM is there: every fix and every
// stand-in off, the fastscan file kept out of the user's.
void MakeScanReadOnly(SettingsRecord& settings, const std::string& scratchFolder) {
  for (const ScanSwitch& entry : ScanSwitches())
    if (entry.role == SwitchRole::kFix) settings.*entry.field = false;
  settings.zeroCrcCreation = false;
  settings.pathWarnings = false;
  settings.scanSamples = false;
  settings.checkUnneeded = false;
  settings.fastscanFile = scratchFolder + "why.fsc";
}

// The scan's record of `game` alone; false when the scan did not run.
bool ScanOneSet(GameList& database, int index, SettingsRecord settings, const LoadedData& loaded,
                const std::string& dataFolder, UserInterface& ui, SetScan& scan) {
  const std::string scratch = CreateUniqueFolder(settings.tempFolder);
  if (scratch.empty()) return false;
  MakeScanReadOnly(settings, WithTrailingSeparator(scratch));
  for (GameSet& game : database) game.selected = game.index == index;
  ScanRequest request;
  request.dataCrc = loaded.dataCrc;
  request.dataFolder = dataFolder;
  request.showStatistics = false;
  ScanResults results;
  ResultsModel lines;
  const ScanOutcome outcome = RunScan(database, results, settings, &ui, lines, request);
  DeleteFolderTree(RealFileSystem(), scratch);
  if (outcome.refused || !outcome.ranToEnd) return false;
  scan = results[index];
  return true;
}

std::vector<std::string> EnabledPaths(const std::vector<PathEntry>& paths) {
  std::vector<std::string> enabled;
  for (const PathEntry& path : paths)
    if (path.enabled && !path.path.empty()) enabled.push_back(path.path);
  return enabled;
}

std::string SearchedNames(const GameList& database, const GameSet& game, SetLayout layout) {
  std::string names;
  for (const GameSet* set : SetsSearchedFor(database, game, layout)) names += (names.empty() ? "" : ", ") + set->name;
  return names;
}

// With an index, only the files it points to for the ROM are looked at.
void PrintRom(const GameList& database, const GameSet& game, const RomEntry& rom, const std::string& fault,
              SetLayout layout, const std::string& layoutName, std::vector<PlacedFile>& files,
              const CandidateIndex* index = nullptr) {
  const RomHome home = HomeOf(database, game, rom, layout);
  std::printf("%s [size %d, crc %s]: %s (belongs in %s as %s)\n", rom.name.c_str(), rom.size, CrcText(rom.crc).c_str(),
              fault.c_str(), home.set ? home.set->name.c_str() : game.name.c_str(), home.name.c_str());
  const std::vector<RomCandidate> candidates =
      index ? FindIndexedRomCandidates(RealFileSystem(), database, game, rom, layout, layoutName, files, *index)
            : FindRomCandidates(RealFileSystem(), database, game, rom, layout, layoutName, files);
  if (candidates.empty()) std::puts("  no file resembles it");
  for (const RomCandidate& candidate : candidates)
    std::printf("  %s: %s: %s\n", candidate.likeness.c_str(), candidate.file->path.c_str(), candidate.reason.c_str());
}

void PrintSetHeading(const GameList& database, const GameSet& game, SetLayout layout, const std::string& layoutName) {
  std::printf("%s [folder: %s] in the %s layout, looked for in: %s\n", game.description.c_str(), game.name.c_str(),
              layoutName.c_str(), SearchedNames(database, game, layout).c_str());
}

}  // namespace

void PrintScanExplanations(const GameList& database, const ScanResults& results, const SettingsRecord& settings) {
  const SetLayout layout = settings.scanMergeMode;
  const std::string layoutName = kSetTypeNames[LayoutCode(layout, kToolLayoutCodes)];
  std::vector<PlacedFile> files = ListPlacedFiles(RealFileSystem(), EnabledPaths(settings.romPaths),
                                                  EnabledPaths(settings.addPaths));
  const CandidateIndex index = IndexPlacedFiles(files);
  std::puts("----------");
  for (size_t i = 0; i < database.size() && i < results.size(); ++i) {
    const GameSet& game = database[i];
    if (!game.selected) continue;
    bool headed = false;
    for (size_t r = 0; r < game.roms.size() && r < results[i].roms.size(); ++r) {
      const std::string fault = RomFault(game.roms[r], results[i].roms[r]);
      if (fault.empty()) continue;
      if (!headed) PrintSetHeading(database, game, layout, layoutName);
      headed = true;
      PrintRom(database, game, game.roms[r], fault, layout, layoutName, files, &index);
    }
  }
}

void AddWhyOptions(CLI::App& command, WhyOptions& options) {
  AddDataOptions(command, options.data);
  command.add_option("--set-type", options.setType, "Set layout (default split)")->check(CLI::IsMember(kSetTypeNames));
  command.add_option("set", options.set, "The set to explain")->required();
}

int RunWhyCommand(const WhyOptions& options, UserInterface& ui) {
  const std::string dataFolder = ChooseDataFolder(options.data);
  SettingsRecord settings;
  if (!BuildSettings(options.data, settings)) return kExitRefused;
  ApplyChoice(options.setType, kSetTypeNames, settings.scanMergeMode, kToolLayoutCodes);
  GameList database;
  LoadedData loaded;
  if (!LoadGameData(options.data, settings, dataFolder, ui, database, loaded)) return kExitRefused;
  const std::optional<int> index = FindGame(database, options.set);
  if (!index) {
    std::fprintf(stderr, "No set %s in the game data\n", options.set.c_str());
    return kExitRefused;
  }
  SetScan scan;
  if (!ScanOneSet(database, *index, settings, loaded, dataFolder, ui, scan)) {
    std::fputs("The set could not be scanned\n", stderr);
    return kExitRefused;
  }
  const GameSet& game = database[*index];
  const SetLayout layout = settings.scanMergeMode;
  const std::string layoutName = kSetTypeNames[LayoutCode(layout, kToolLayoutCodes)];
  PrintSetHeading(database, game, layout, layoutName);
  std::vector<PlacedFile> files = ListPlacedFiles(RealFileSystem(), EnabledPaths(settings.romPaths),
                                                  EnabledPaths(settings.addPaths));
  int faults = 0;
  for (size_t i = 0; i < game.roms.size() && i < scan.roms.size(); ++i) {
    const std::string fault = RomFault(game.roms[i], scan.roms[i]);
    if (fault.empty()) continue;
    ++faults;
    PrintRom(database, game, game.roms[i], fault, layout, layoutName, files);
  }
  if (faults == 0) std::puts("every ROM is there and right");
  return faults == 0 ? kExitDone : kExitFindings;
}

}  // namespace kestrel
