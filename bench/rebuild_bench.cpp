// Rebuilding 2 GB of source files (half loose, half in deflated zips) into
// zipped split sets, next to Info-ZIP's "zip -r" writing the same ROMs into
// the same set archives at the same level.
//
// The sources and the staged set folders for zip are generated once under
// /tmp/kestrel-rebuild-bench (about 5 GB with the outputs) and reused.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/user_interface.h"
#include "archive/crc32.h"
#include "archive/zip_library.h"
#include "gamedb/validate_games.h"
#include "platform/file_system.h"
#include "rebuilder/rebuilder.h"
#include "settings/settings_record.h"
#include "rom_like_files.h"

namespace {

using namespace kestrel;
using bench::RomLikeBytes;
using bench::WriteBytes;

const std::string kRoot = "/tmp/kestrel-rebuild-bench/";
constexpr int kFamilies = 85;            // a parent and a clone each
constexpr int kParentRoms = 8;           // the clone shares 4 of them and has 4 of its own
constexpr int kCloneOwnRoms = 4;
constexpr size_t kRomSize = 2u << 20;    // 85 x 12 distinct ROMs x 2 MB = 2.04 GB
constexpr int kMembersPerSourceZip = 16;
constexpr char kLevel = '9';

bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string ParentName(int family) { return "game" + std::to_string(family); }
std::string CloneName(int family) { return ParentName(family) + "c"; }

RomEntry Rom(const std::string& name, uint32_t crc) {
  RomEntry rom;
  rom.name = name;
  rom.size = static_cast<int32_t>(kRomSize);
  SetRomCrc(rom, crc);
  return rom;
}

// Writes the sources (even ROMs loose under scrambled names, odd ones as
// members of deflated zips), the split sets as folders for zip, and returns
// the game list. Reuses what an earlier run finished.
bool Prepare(GameList& database) {
  bool complete = FileExists(kRoot + "complete");
  if (!complete && !Shell("rm -rf " + kRoot + " && mkdir -p " + kRoot + "source/loose " + kRoot +
                          "source/zips " + kRoot + "staged " + kRoot + "stage-zip " + kRoot + "temp"))
    return false;
  ZipLibrary library;
  library.level = '6';
  GameList raw;
  std::vector<std::string> pendingMembers;
  int distinct = 0;
  auto addContent = [&](const std::string& setName, const std::string& romName) -> uint32_t {
    std::string bytes = RomLikeBytes(kRomSize, static_cast<uint32_t>(distinct));
    uint32_t crc = Crc32(0, bytes.data(), bytes.size());
    if (complete) return ++distinct, crc;
    std::string sourceName = "src" + std::to_string(distinct * 7919 % 100003) + ".dat";
    if (distinct % 2 == 0) {
      WriteBytes(kRoot + "source/loose/" + sourceName, bytes);
    } else {
      WriteBytes(kRoot + "stage-zip/" + sourceName, bytes);
      pendingMembers.push_back(kRoot + "stage-zip/" + sourceName);
      if (pendingMembers.size() == kMembersPerSourceZip) {
        ZipAddFiles(RealFileSystem(), library, kRoot + "source/zips/pack" + std::to_string(distinct) + ".zip", pendingMembers);
        for (const std::string& file : pendingMembers) DeleteFile(file);
        pendingMembers.clear();
      }
    }
    CreateFolder(kRoot + "staged/" + setName);
    WriteBytes(kRoot + "staged/" + setName + "/" + romName, bytes);
    ++distinct;
    return crc;
  };
  for (int family = 0; family < kFamilies; ++family) {
    GameSet parent, clone;
    parent.name = parent.description = ParentName(family);
    clone.name = clone.description = CloneName(family);
    clone.cloneOf = parent.name;
    clone.hasParent = true;
    for (int r = 0; r < kParentRoms; ++r) {
      std::string name = "p" + std::to_string(r) + ".rom";
      uint32_t crc = addContent(parent.name, name);
      parent.roms.push_back(Rom(name, crc));
      if (r < kParentRoms - kCloneOwnRoms) clone.roms.push_back(Rom(name, crc));
    }
    for (int r = 0; r < kCloneOwnRoms; ++r) {
      std::string name = "c" + std::to_string(r) + ".rom";
      clone.roms.push_back(Rom(name, addContent(clone.name, name)));
    }
    raw.push_back(parent);
    raw.push_back(clone);
  }
  if (!pendingMembers.empty()) {
    ZipAddFiles(RealFileSystem(), library, kRoot + "source/zips/last.zip", pendingMembers);
    for (const std::string& file : pendingMembers) DeleteFile(file);
  }
  std::unique_ptr<ProgressDialog> progress = OpenProgressDialog(nullptr, "");
  ListMessages messages;
  ValidateGames(raw, database, *progress, 0, messages);
  return complete || WriteBytes(kRoot + "complete", "");
}

void ClearOutput(const std::string& folder) { Shell("rm -rf " + folder + " && mkdir -p " + folder); }

void BM_RebuildSplitZips(benchmark::State& state) {
  GameList database;
  if (!Prepare(database)) return state.SkipWithError("cannot write the sources");
  SettingsRecord settings;
  settings.rebuildSource = kRoot + "source/";
  settings.rebuildDestination = kRoot + "out-rebuild/";
  settings.tempFolder = kRoot + "temp/";
  settings.rebuildMergeMode = SetLayout::kSplit;
  settings.rebuildZip = true;
  ZipLibrary library;
  library.level = kLevel;
  for (auto _ : state) {
    state.PauseTiming();
    ClearOutput(settings.rebuildDestination);
    Shell("sync");
    state.ResumeTiming();
    RebuildOutcome outcome = RunRebuild(database, settings, library, nullptr);
    state.counters["roms"] = outcome.counts.romsPlaced;
    state.counters["sets"] = outcome.counts.setsWritten;
    if (outcome.counts.romsPlaced != kFamilies * (kParentRoms + kCloneOwnRoms))
      state.SkipWithError("not every ROM was placed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kFamilies * (kParentRoms + kCloneOwnRoms) * kRomSize);
}
BENCHMARK(BM_RebuildSplitZips)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

// One "zip -r" per set, from the staged set folders, at the same level.
void BM_ZipR(benchmark::State& state) {
  GameList database;
  if (!Prepare(database)) return state.SkipWithError("cannot write the sources");
  std::string output = kRoot + "out-zip/";
  for (auto _ : state) {
    state.PauseTiming();
    ClearOutput(output);
    Shell("sync");
    state.ResumeTiming();
    for (const GameSet& game : database) {
      if (!Shell("cd " + kRoot + "staged/" + game.name + " && zip -r -q -" + std::string(1, kLevel) + " " +
                 output + game.name + ".zip ."))
        return state.SkipWithError("zip failed");
    }
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kFamilies * (kParentRoms + kCloneOwnRoms) * kRomSize);
}
BENCHMARK(BM_ZipR)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
