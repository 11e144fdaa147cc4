// The rebuilder, the scanner and the merger agree on where every ROM lives.
// Random game lists (parents, clones, a BIOS set, `merge` names, shared
// contents, names that clash in a family, ROMs without a known dump) are
// rebuilt from loose files into
// each layout, converted by the merger into each other one, and after every
// step the scan finds nothing to report and every set holds exactly what
// rom_home.h says, each ROM with its content.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "app/scripted_interface.h"
#include "archive/crc32.h"
#include "archive/zip_library.h"
#include "archive/zip_reader.h"
#include "conservation/scenario.h"
#include "gamedb/game_list_file.h"
#include "gamedb/rom_home.h"
#include "gamedb/validate_games.h"
#include "merger/merger.h"
#include "platform/file_system.h"
#include "rebuilder/rebuilder.h"
#include "report/results_model.h"
#include "scanner/scan_driver.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel::testing {
namespace {

// Set name -> member name -> CRC-32.
using SetFiles = std::map<std::string, std::map<std::string, uint32_t>>;

uint32_t CrcOf(const std::string& data) { return Crc32(0, data.data(), data.size()); }

// Some games get a ROM without a known dump; a clone's may share the
// parent's name and size, and so live in the parent's set. Each has a
// source file of its name in a folder of its own. Returns their contents.
std::set<int> AddRomsWithoutDump(Scenario& scenario, uint32_t seed) {
  std::mt19937 random(seed);
  auto chance = [&](int percent) { return int(random() % 100) < percent; };
  std::set<int> noDumps;
  std::map<std::string, const ScenarioRom*> parentNoDump;
  for (ScenarioGame& game : scenario.games) {
    if (game.isBios || !chance(40)) continue;
    auto parent = parentNoDump.find(game.cloneOf);
    ScenarioRom rom;
    if (parent != parentNoDump.end() && chance(50)) {
      rom = *parent->second;
    } else {
      rom = {"nd_" + game.name + ".bin", "", int(scenario.contents.size())};
      scenario.contents.push_back(std::string(size_t(16 + random() % 64), char('a' + random() % 26)));
    }
    noDumps.insert(rom.content);
    game.roms.push_back(rom);
    if (game.cloneOf.empty()) parentNoDump[game.name] = &game.roms.back();
  }
  return noDumps;
}

std::string HexCrc(uint32_t crc) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", crc);
  return text;
}

// The list in the datfile form, the ROMs of `noDumps` with crc 0.
std::string ListText(const Scenario& scenario, const std::set<int>& noDumps) {
  std::string text;
  for (const ScenarioGame& game : scenario.games) {
    text += std::string(game.isBios ? "resource" : "game") + " ( name " + game.name;
    text += " description \"" + game.name + "\"";
    if (!game.cloneOf.empty()) text += " cloneof " + game.cloneOf;
    if (!game.romOf.empty()) text += " romof " + game.romOf;
    text += "\n";
    for (const ScenarioRom& rom : game.roms) {
      const std::string& data = scenario.contents[size_t(rom.content)];
      uint32_t crc = noDumps.count(rom.content) > 0 ? 0 : CrcOf(data);
      text += "  rom ( name " + rom.name + (rom.merge.empty() ? "" : " merge " + rom.merge) + " size " +
              std::to_string(data.size()) + " crc " + HexCrc(crc) + " )\n";
    }
    text += ")\n";
  }
  return text;
}

const char* NameOf(SetLayout layout) {
  return layout == SetLayout::kNonMerged ? "non-merged" : layout == SetLayout::kSplit ? "split" : "merged";
}

class LayoutRoundTrip {
 public:
  explicit LayoutRoundTrip(uint32_t seed) {
    romPath_ = root_ / "roms/";
    source_ = root_ / "source/";
    for (const std::string& folder : {romPath_, source_, root_ / "temp/"}) std::filesystem::create_directories(folder);
    // Only the game list and its contents are used, not the planted sets.
    Scenario scenario = MakeScenario(seed, {root_ / "planted1/", root_ / "planted2/"}, source_);
    std::set<int> noDumps = AddRomsWithoutDump(scenario, seed);
    for (size_t i = 0; i < scenario.contents.size(); ++i) {
      if (noDumps.count(int(i)) == 0) WriteFile(source_ + std::to_string(i) + ".bin", scenario.contents[i]);
    }
    for (const ScenarioGame& game : scenario.games) {
      for (const ScenarioRom& rom : game.roms) {
        if (noDumps.count(rom.content) == 0) continue;
        const std::string& data = scenario.contents[size_t(rom.content)];
        WriteFile(source_ + "nodump" + std::to_string(rom.content) + "/" + rom.name, data);
        noDumpCrcs_[rom.name] = CrcOf(data);
      }
    }
    WriteFile(root_ / "list.dat", ListText(scenario, noDumps));
    GameList raw;
    auto progress = OpenProgressDialog(&ui_, "");
    ListMessages messages;
    loaded_ = ParseGameList(raw, root_ / "list.dat", *progress, false, messages) &&
              ValidateGames(raw, database_, *progress, kShowNoListErrors, messages);
  }

  bool Loaded() const { return loaded_; }

  void Rebuild(SetLayout layout) {
    std::filesystem::remove_all(romPath_);
    std::filesystem::create_directories(romPath_);
    SettingsRecord settings = BaseSettings();
    settings.rebuildSource = source_;
    settings.rebuildDestination = romPath_;
    settings.rebuildMergeMode = layout;
    settings.rebuildZip = true;
    RebuildOutcome outcome = RunRebuild(database_, settings, zipLibrary_, &ui_);
    EXPECT_TRUE(outcome.completed && !outcome.refused);
  }

  void Convert(SetLayout layout) {
    SettingsRecord settings = BaseSettings();
    settings.romPaths = {{romPath_}};
    settings.mergeCleanSet = settings.mergeRemoveOld = settings.mergeZip = true;
    if (layout != SetLayout::kNonMerged) settings.mergeMode = layout;
    MergeButton button = layout == SetLayout::kNonMerged ? MergeButton::kUnmerge : MergeButton::kMerge;
    MergeOutcome outcome = RunMerger(database_, settings, &ui_, zipLibrary_, button);
    EXPECT_TRUE(outcome.failed.empty() && outcome.skipped.empty() && !outcome.stopped);
  }

  // The scan's findings, strictly: no double names, copies outside their
  // place count as unneeded.
  std::vector<std::string> ScanFindings(SetLayout layout) {
    SettingsRecord settings = BaseSettings();
    settings.romPaths = {{romPath_}};
    settings.scanMergeMode = layout;
    settings.checkMissing = settings.checkName = settings.checkLength = settings.checkUnneeded = true;
    settings.checkChecksum = settings.checkCase = settings.advancedUnneeded = true;
    settings.allowDoubleNames = false;
    GameList games = database_;
    ScanResults scanResults;
    ResultsModel results;
    ScanRequest request;
    request.dataFolder = root_ / "program/";
    request.zipLibrary = &zipLibrary_;
    request.showStatistics = false;
    RunScan(games, scanResults, settings, &ui_, results, request);
    std::vector<std::string> lines;
    for (const ResultLine& line : results.lines) lines.push_back(line.text);
    return lines;
  }

  // What every set should hold in `layout`.
  SetFiles Expected(SetLayout layout) const {
    SetFiles files;
    for (const GameSet& game : database_) {
      for (const RomEntry& rom : game.roms) {
        RomHome home = HomeOf(database_, game, rom, layout);
        uint32_t crc = rom.noDump ? noDumpCrcs_.at(rom.name) : rom.crc;
        auto [at, added] = files[home.set->name].emplace(home.name, crc);
        EXPECT_TRUE(added || at->second == crc) << home.set->name << "/" << home.name << " of two contents";
      }
    }
    return files;
  }

  SetFiles OnDisk() const {
    SetFiles files;
    for (const FolderEntry& entry : ListFolder(romPath_)) {
      std::string path = romPath_ + entry.name;
      ZipEntryList members;
      EXPECT_TRUE(!entry.isFolder && ReadZipDirectory(RealFileSystem(), path, members, true, nullptr))
          << path << " is no zip set";
      auto& set = files[entry.name.substr(0, entry.name.size() - 4)];
      for (const ZipEntry& member : members) EXPECT_TRUE(set.emplace(member.name, member.crc).second) << path;
    }
    return files;
  }

 private:
  SettingsRecord BaseSettings() const {
    SettingsRecord settings;
    settings.tempFolder = root_ / "temp/";
    settings.backupFolder = root_ / "backup/";
    settings.pathWarnings = false;
    settings.askBeforeFixing = false;
    settings.zeroCrcCreation = false;
    settings.fastscanFile = root_ / "fastscan.fsc";
    settings.scannerLogfile = root_ / "kestrel.log";
    return settings;
  }

  TempFolder root_;
  std::string romPath_, source_;
  GameList database_;
  std::map<std::string, uint32_t> noDumpCrcs_;  // by ROM name: the content rebuilt for it
  ScriptedInterface ui_;
  ZipLibrary zipLibrary_;
  bool loaded_ = false;
};

void CheckLayout(LayoutRoundTrip& trip, SetLayout layout, const std::string& step) {
  SCOPED_TRACE(step);
  EXPECT_EQ(trip.ScanFindings(layout), std::vector<std::string>{});
  EXPECT_EQ(trip.OnDisk(), trip.Expected(layout));
}

class LayoutRoundTripTest : public ::testing::TestWithParam<uint32_t> {};

TEST_P(LayoutRoundTripTest, EveryToolPutsEveryRomWhereTheLayoutKeepsIt) {
  const SetLayout kLayouts[] = {SetLayout::kNonMerged, SetLayout::kSplit, SetLayout::kMerged};
  LayoutRoundTrip trip(GetParam());
  ASSERT_TRUE(trip.Loaded());
  for (SetLayout first : kLayouts) {
    trip.Rebuild(first);
    std::string steps = std::string("rebuilt ") + NameOf(first);
    CheckLayout(trip, first, steps);
    for (SetLayout next : kLayouts) {
      if (next == first) continue;
      trip.Convert(next);
      steps += std::string(", merged to ") + NameOf(next);
      CheckLayout(trip, next, steps);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, LayoutRoundTripTest, ::testing::Range(1u, 9u));

}  // namespace
}  // namespace kestrel::testing
