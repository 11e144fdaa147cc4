// Saving and loading a profile of a full MAME collection: 40,000 games in
// the selection, a few dozen paths.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "settings/profile_file.h"

namespace kestrel {
namespace {

constexpr int kGames = 40000;

struct ProfileFixture {
  SettingsRecord record;
  GameList database;
  std::string path;

  ProfileFixture() {
    for (int i = 0; i < 20; ++i) {
      record.romPaths.push_back({"/home/user/arcade/roms/collection " + std::to_string(i) + "/", true});
      record.samplePaths.push_back({"/home/user/arcade/samples/" + std::to_string(i) + "/", i % 2 == 0});
    }
    record.tempFolder = "/tmp/";
    record.mameExe = "/usr/games/mame";
    database.resize(kGames);
    for (int i = 0; i < kGames; i += 3) database[i].selected = false;
    path = (std::filesystem::temp_directory_path() / "kestrel_profile_bench.kpf").string();
  }
  ~ProfileFixture() { std::filesystem::remove(path); }
};

void BM_SaveProfile(benchmark::State& state) {
  ProfileFixture fixture;
  for (auto _ : state) {
    if (!SaveProfile(fixture.record, fixture.path, fixture.database, 0)) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveProfile)->Unit(benchmark::kMillisecond);

void BM_LoadProfile(benchmark::State& state) {
  ProfileFixture fixture;
  if (!SaveProfile(fixture.record, fixture.path, fixture.database, 0)) {
    state.SkipWithError("save failed");
    return;
  }
  for (auto _ : state) {
    SettingsRecord loaded;
    if (!LoadProfile(loaded, fixture.path)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(loaded.gameSelectionBytes.data());
  }
}
BENCHMARK(BM_LoadProfile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrel
BENCHMARK_MAIN();
