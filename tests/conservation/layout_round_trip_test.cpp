// The rebuilder, the scanner and the merger agree on where every ROM lives.
// Random game lists (parents, clones, a BIOS set, `merge` names, shared
// contents, names that clash in a family, ROMs without a known dump) are
// rebuilt from loose files into each layout, converted by the merger into
// each other one, and after every step the scan finds nothing to report and
// every set holds exactly what rom_home.h says, each ROM with its content.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "archive/zip_reader.h"
#include "conservation/conservation_run.h"
#include "conservation/scenario.h"
#include "gamedb/rom_home.h"
#include "platform/file_system.h"
#include "settings/layout_codes.h"
#include "support/crc_data.h"

namespace kestrel::testing {
namespace {

// Set name -> member name -> CRC-32.
using SetFiles = std::map<std::string, std::map<std::string, uint32_t>>;

// Some games get a ROM without a known dump; a clone's may share the
// parent's name and size, and so live in the parent's set. Returns their contents.
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

// The game list's contents as loose files, each ROM without a known dump
// under its own name in a folder of its own, rebuilt into one ROM path.
class LayoutRoundTrip : public ToolBench {
 public:
  explicit LayoutRoundTrip(uint32_t seed) {
    Scenario scenario = MakeScenario(seed, {root / "planted1/", root / "planted2/"}, source_);  // its list only
    std::set<int> noDumps = AddRomsWithoutDump(scenario, seed);
    for (size_t i = 0; i < scenario.contents.size(); ++i)
      if (noDumps.count(int(i)) == 0) WriteFile(source_ + std::to_string(i) + ".bin", scenario.contents[i]);
    for (const ScenarioGame& game : scenario.games) {
      for (const ScenarioRom& rom : game.roms) {
        if (noDumps.count(rom.content) == 0) continue;
        const std::string& data = scenario.contents[size_t(rom.content)];
        WriteFile(source_ + "nodump" + std::to_string(rom.content) + "/" + rom.name, data);
        noDumpCrcs_[rom.name] = CrcOf(data);
      }
    }
    loaded = LoadList(DatfileText(scenario, noDumps));
  }

  void Rebuild(SetLayout layout) {
    std::filesystem::remove_all(romPath_);
    std::filesystem::create_directories(romPath_);
    SettingsRecord settings = Settings();
    settings.rebuildSource = source_;
    settings.rebuildDestination = romPath_;
    settings.rebuildMergeMode = layout;
    EXPECT_EQ(ToolBench::Rebuild(settings), "");
  }

  void Convert(SetLayout layout) {
    SettingsRecord settings = Settings();
    settings.romPaths = {{romPath_}};
    settings.mergeCleanSet = settings.mergeRemoveOld = true;
    if (layout != SetLayout::kNonMerged) settings.mergeMode = layout;
    MergeOutcome outcome = Merge(settings, layout == SetLayout::kNonMerged ? MergeButton::kUnmerge : MergeButton::kMerge);
    EXPECT_TRUE(outcome.failed.empty() && outcome.skipped.empty() && !outcome.stopped);
  }

  // A strict scan (no double names, copies outside their place count as
  // unneeded) finds nothing, and every set holds what `layout` puts in it.
  void Check(SetLayout layout) {
    SettingsRecord settings = Settings();
    settings.romPaths = {{romPath_}};
    settings.scanMergeMode = layout;
    settings.advancedUnneeded = true;
    settings.allowDoubleNames = false;
    std::vector<std::string> findings;
    EXPECT_EQ(Scan(settings, RealFileSystem(), &findings), "");
    EXPECT_EQ(findings, std::vector<std::string>{});
    SetFiles expected, onDisk;
    for (const GameSet& game : database) {
      for (const RomEntry& rom : game.roms) {
        RomHome home = HomeOf(database, game, rom, layout);
        uint32_t crc = rom.noDump ? noDumpCrcs_.at(rom.name) : rom.crc;
        auto [at, added] = expected[home.set->name].emplace(home.name, crc);
        EXPECT_TRUE(added || at->second == crc) << home.set->name << "/" << home.name << " of two contents";
      }
    }
    for (const FolderEntry& entry : ListFolder(romPath_)) {
      ZipEntryList members;
      EXPECT_TRUE(!entry.isFolder && ReadZipDirectory(RealFileSystem(), romPath_ + entry.name, members, true, nullptr))
          << entry.name << " is no zip set";
      for (const ZipEntry& member : members)
        EXPECT_TRUE(onDisk[entry.name.substr(0, entry.name.size() - 4)].emplace(member.name, member.crc).second)
            << entry.name << " holds " << member.name << " twice";
    }
    EXPECT_EQ(onDisk, expected);
  }

  bool loaded = false;

 private:
  std::string romPath_ = root / "roms/", source_ = root / "source/";
  std::map<std::string, uint32_t> noDumpCrcs_;  // by ROM name: the content rebuilt for it
};

class LayoutRoundTripTest : public ::testing::TestWithParam<uint32_t> {};

TEST_P(LayoutRoundTripTest, EveryToolPutsEveryRomWhereTheLayoutKeepsIt) {
  LayoutRoundTrip trip(GetParam());
  ASSERT_TRUE(trip.loaded);
  for (SetLayout first : kToolLayoutCodes) {
    trip.Rebuild(first);
    std::string steps = "rebuilt " + LayoutName(first);
    SCOPED_TRACE(steps);
    trip.Check(first);
    for (SetLayout next : kToolLayoutCodes) {
      if (next == first) continue;
      trip.Convert(next);
      steps += ", merged to " + LayoutName(next);
      SCOPED_TRACE(steps);
      trip.Check(next);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, LayoutRoundTripTest, ::testing::Range(1u, 9u));

}  // namespace
}  // namespace kestrel::testing
