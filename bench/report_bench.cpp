// Reporting a scan of a full arcade listing at its worst: an empty
// collection, where every set and every ROM is a finding. Measures building
// the result lines, switching a check box (tree rebuild) and rendering the
// logfile.
#include <benchmark/benchmark.h>

#include <string>

#include "gamedb/game_set.h"
#include "report/game_results.h"
#include "report/results_model.h"
#include "report/scanner_log.h"
#include "settings/settings_record.h"

namespace {

constexpr int kSets = 40000;
constexpr int kRomsPerSet = 9;

kestrel::GameList MissingCollection() {
  kestrel::GameList database(kSets);
  for (int i = 0; i < kSets; ++i) {
    kestrel::GameSet& game = database[i];
    game.name = "set" + std::to_string(i);
    game.description = "Synthetic Game " + std::to_string(i);
    game.hasParent = i % 3 == 2;
    if (game.hasParent) game.cloneOf = database[i - 2].name;
    game.roms.resize(kRomsPerSet);
    for (int r = 0; r < kRomsPerSet; ++r) {
      game.roms[r].name = game.name + "." + std::to_string(r);
      game.roms[r].size = 65536 << (r % 4);
      kestrel::SetRomCrc(game.roms[r], static_cast<uint32_t>(i * 7919 + r * 104729));
    }
  }
  return database;
}

kestrel::ResultsModel BuildAll(const kestrel::GameList& database,
                               const kestrel::SettingsRecord& settings) {
  kestrel::ResultsModel results;
  kestrel::ScanStatistics statistics;
  for (const kestrel::GameSet& game : database) {
    kestrel::SetScan scan;  // nothing found
    scan.roms.resize(game.roms.size());
    scan.samples.resize(game.samples.size());
    kestrel::BuildGameResults(game, scan, settings, results, statistics);
  }
  return results;
}

void BM_BuildGameResults(benchmark::State& state) {
  const kestrel::GameList database = MissingCollection();
  const kestrel::SettingsRecord settings;
  for (auto _ : state) {
    kestrel::ResultsModel results = BuildAll(database, settings);
    state.counters["lines"] = static_cast<double>(results.lines.size());
  }
}

void BM_RefreshResultsTree(benchmark::State& state) {
  kestrel::SettingsRecord settings;
  kestrel::ResultsModel results = BuildAll(MissingCollection(), settings);
  for (auto _ : state) {
    settings.scanRoms = !settings.scanRoms;
    kestrel::RefreshResultsTree(results, settings);
  }
  state.counters["lines"] = static_cast<double>(results.lines.size());
}

void BM_RenderScannerLog(benchmark::State& state) {
  const kestrel::ResultsModel results = BuildAll(MissingCollection(), kestrel::SettingsRecord{});
  for (auto _ : state) {
    std::string log = kestrel::RenderScannerLog(results, true, "statistics");
    state.counters["MB"] = static_cast<double>(log.size()) / 1048576.0;
    benchmark::DoNotOptimize(log);
  }
}

BENCHMARK(BM_BuildGameResults)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RefreshResultsTree)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_RenderScannerLog)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
