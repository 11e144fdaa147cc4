// Start-up with an unchanged emulator reads the data cache instead of
// running it; this times that read for a list of MAME's size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "gamedb/data_cache.h"

namespace kestrel {
namespace {

constexpr int kSetCount = 40000;
constexpr int kRomsPerSet = 9;

RomEntry MakeRom(int set, int rom) {
  RomEntry entry;
  entry.name = "set" + std::to_string(set) + "_rom" + std::to_string(rom) + ".bin";
  SetRomCrc(entry, static_cast<uint32_t>(set * 7919 + rom * 104729 + 1));
  entry.size = 65536 << (rom % 4);
  return entry;
}

// Every third set is a clone of the set before it, sharing most ROMs under
// other names, so a third of the ROMs carry aliases.
GameList MakeDatabase() {
  GameList games(kSetCount);
  for (int i = 0; i < kSetCount; ++i) {
    GameSet& game = games[i];
    game.index = i;
    game.name = "game" + std::to_string(100000 + i);
    game.description = "Synthetic Arcade Game " + std::to_string(i) + " (World, rev " + std::to_string(i % 7) + ")";
    for (int r = 0; r < kRomsPerSet; ++r) game.roms.push_back(MakeRom(i, r));
    if (i % 3 == 2) {
      GameSet& parent = games[i - 1];
      game.hasParent = true;
      game.cloneOf = parent.name;
      game.parentIndex = i - 1;
      parent.isParent = true;
      parent.clones.push_back({game.description, i});
      parent.cloneCount = 1;
      // The first six ROMs have the parent's content under other names.
      for (int r = 0; r < kRomsPerSet; ++r) {
        game.roms[r].inParent = r < 6;
        if (r < 6) {
          SetRomCrc(game.roms[r], parent.roms[r].crc);
          game.roms[r].size = parent.roms[r].size;
        }
      }
    }
    game.romCount = kRomsPerSet;
  }
  return games;
}

void BM_ReadDataCache(benchmark::State& state) {
  std::string path = (std::filesystem::temp_directory_path() / "kestrel_bench_exedat").string();
  if (!WriteDataCache(path, MakeDatabase(), 0x1234)) {
    state.SkipWithError("cannot write the cache");
    return;
  }
  for (auto _ : state) {
    GameList database;
    if (!ReadDataCache(path, database, 0x1234, nullptr) || database.size() != kSetCount) {
      state.SkipWithError("cache not read");
      break;
    }
    benchmark::DoNotOptimize(database.data());
    // Freeing the list is not part of the read.
    state.PauseTiming();
    database = GameList();
    state.ResumeTiming();
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::remove(path.c_str());
}
BENCHMARK(BM_ReadDataCache)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrel

BENCHMARK_MAIN();
