// Importing the "[directory]" section of a configuration file with 100,000
// folder entries, most of them distinct: the duplicate check must not make
// it quadratic.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "acquire/import_paths.h"

namespace {

void BM_ImportHundredThousandPaths(benchmark::State& state) {
  std::string path = (std::filesystem::temp_directory_path() / "kestrel_bench_import.cfg").string();
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return state.SkipWithError("cannot write the file");
  std::fputs("[directory]\n", out);
  for (int i = 0; i < 100000; ++i) std::fprintf(out, "rompath=/nowhere/roms%d;/nowhere/ROMS%d\n", i, i / 2);
  std::fclose(out);
  for (auto _ : state) {
    kestrel::SettingsRecord settings;
    kestrel::ImportPaths(path, settings);
    state.counters["paths"] = static_cast<double>(settings.romPaths.size());
  }
  std::remove(path.c_str());
}

BENCHMARK(BM_ImportHundredThousandPaths)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
