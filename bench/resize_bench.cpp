// The search of the ROM resize: a 16 MB file holding an 8 MB ROM at an odd
// offset, against one CRC-32 pass over the same file.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "archive/crc32.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/mapped_file.h"
#include "scanner/crc_window_search.h"

namespace {

constexpr size_t kFileSize = 16u << 20;
constexpr size_t kRomSize = 8u << 20;
constexpr size_t kRomOffset = 7999999;  // odd, and near the end of the search

std::vector<uint8_t> Bytes(size_t size, uint32_t seed) {
  std::vector<uint8_t> bytes(size);
  for (uint8_t& byte : bytes) {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    byte = uint8_t(seed);
  }
  return bytes;
}

struct Fixture {
  std::string path = "/tmp/kestrel-resize-bench.bin";
  uint32_t romCrc = 0;
  Fixture() {
    std::vector<uint8_t> file = Bytes(kFileSize, 2463534242u);
    std::vector<uint8_t> rom = Bytes(kRomSize, 88172645u);
    std::copy(rom.begin(), rom.end(), file.begin() + kRomOffset);
    romCrc = kestrel::Crc32(0, rom.data(), rom.size());
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
  }
};

const Fixture& TheFile() {
  static const Fixture fixture;
  return fixture;
}

void BM_CrcPassOverFile(benchmark::State& state) {
  const Fixture& fixture = TheFile();
  for (auto _ : state) {
    uint32_t size = 0, crc = 0;
    kestrel::ReadFileCrc(kestrel::RealFileSystem(), fixture.path, size, crc);
    benchmark::DoNotOptimize(crc);
  }
}
BENCHMARK(BM_CrcPassOverFile)->Unit(benchmark::kMillisecond);

void BM_ResizeSearch(benchmark::State& state) {
  const Fixture& fixture = TheFile();
  for (auto _ : state) {
    kestrel::MappedFile file;
    file.Open(fixture.path);
    auto offset = kestrel::FindCrcWindow(file.data(), file.size(), kRomSize, fixture.romCrc,
                                         [] { return true; });
    if (!offset || *offset != kRomOffset) state.SkipWithError("wrong window");
  }
}
BENCHMARK(BM_ResizeSearch)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
