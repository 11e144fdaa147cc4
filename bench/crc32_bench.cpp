// CRC-32 throughput over a buffer far larger than the caches, against
// zlib's CRC-32 as a yardstick.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

#include "archive/crc32.h"

namespace {

const std::vector<uint8_t>& LargeBuffer() {
  static const std::vector<uint8_t> buffer = [] {
    std::vector<uint8_t> bytes(256u << 20);
    uint32_t state = 2463534242u;
    for (uint8_t& byte : bytes) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      byte = uint8_t(state);
    }
    return bytes;
  }();
  return buffer;
}

void BM_Crc32(benchmark::State& state) {
  const std::vector<uint8_t>& buffer = LargeBuffer();
  for (auto _ : state) benchmark::DoNotOptimize(kestrel::Crc32(0, buffer.data(), buffer.size()));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(buffer.size()));
}
BENCHMARK(BM_Crc32)->Unit(benchmark::kMillisecond);

void BM_ZlibCrc32(benchmark::State& state) {
  const std::vector<uint8_t>& buffer = LargeBuffer();
  for (auto _ : state) benchmark::DoNotOptimize(crc32(0, buffer.data(), uInt(buffer.size())));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(buffer.size()));
}
BENCHMARK(BM_ZlibCrc32)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
