// Loading a full arcade listing: parsing the text and validating the sets.
// Run with /usr/bin/time -v to see the peak memory of a load.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "app/user_interface.h"
#include "gamedb/datfile_parser.h"
#include "gamedb/validate_games.h"
#include "platform/file_system.h"
#include "synthetic_datfile.h"

namespace {

std::string g_datfile;

void BM_ParseDatfile(benchmark::State& state) {
  auto progress = kestrel::OpenProgressDialog(nullptr, "");
  for (auto _ : state) {
    kestrel::GameList rawGames;
    kestrel::ListMessages messages;
    if (!kestrel::ParseDatfile(rawGames, g_datfile, *progress, false, messages)) state.SkipWithError("parse failed");
    state.counters["sets"] = static_cast<double>(rawGames.size());
  }
}

void BM_ParseAndValidate(benchmark::State& state) {
  auto progress = kestrel::OpenProgressDialog(nullptr, "");
  for (auto _ : state) {
    kestrel::GameList rawGames;
    kestrel::GameList database;
    kestrel::ListMessages messages;
    if (!kestrel::ParseDatfile(rawGames, g_datfile, *progress, false, messages)) state.SkipWithError("parse failed");
    if (!kestrel::ValidateGames(rawGames, database, *progress, 0, messages)) state.SkipWithError("validation failed");
    state.counters["sets"] = static_cast<double>(database.size());
  }
}

BENCHMARK(BM_ParseDatfile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ParseAndValidate)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  g_datfile = kestrel::TempFolder() + "kestrel_parse_validate_bench.dat";
  if (!kestrel::bench::WriteSyntheticDatfile(g_datfile)) {
    std::fprintf(stderr, "cannot write %s\n", g_datfile.c_str());
    return 1;
  }
  if (auto size = kestrel::FileSize(g_datfile)) std::printf("listing: %.1f MB\n", *size / 1048576.0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  kestrel::DeleteFile(g_datfile);
  return 0;
}
