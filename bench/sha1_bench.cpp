// SHA-1 of a file the rebuilder and the scanner hash when the list tells
// ROMs apart by it, against coreutils' sha1sum over the same file in the
// same run. Both read a warm file, so the figure is the hashing itself.
//
// The file (512 MB) is written once under /tmp/kestrel-sha1-bench and reused.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "archive/file_sha1.h"
#include "platform/file_system.h"
#include "rom_like_files.h"

namespace {

using namespace kestrel;

const std::string kFolder = "/tmp/kestrel-sha1-bench/";
const std::string kFile = kFolder + "big.bin";
constexpr size_t kSize = 512u << 20;

bool Prepare() {
  if (FileSize(kFile).value_or(0) == kSize) return true;
  std::system(("mkdir -p " + kFolder).c_str());
  return bench::WriteBytes(kFile, bench::RomLikeBytes(kSize, 7));
}

void BM_Sha1OfFile(benchmark::State& state) {
  if (!Prepare()) return state.SkipWithError("cannot write the file");
  Sha1OfFile(RealFileSystem(), kFile);  // warms the page cache
  for (auto _ : state) benchmark::DoNotOptimize(Sha1OfFile(RealFileSystem(), kFile));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kSize));
}
BENCHMARK(BM_Sha1OfFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Sha1sum(benchmark::State& state) {
  if (!Prepare()) return state.SkipWithError("cannot write the file");
  const std::string command = "sha1sum " + kFile + " > /dev/null";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) return state.SkipWithError("sha1sum failed");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kSize));
}
BENCHMARK(BM_Sha1sum)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
