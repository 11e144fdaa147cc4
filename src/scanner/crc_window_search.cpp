#include "scanner/crc_window_search.h"

#include <algorithm>
#include <array>
#include <vector>

#include "archive/crc32.h"

namespace kestrel {
namespace {

// The CRC register (before the final inversion) changes linearly over
// GF(2); a linear map of 32-bit values is kept as the images of the 32
// single bits.
using LinearMap = std::array<uint32_t, 32>;
using ByteTable = std::array<uint32_t, 256>;

constexpr uint32_t kPolynomial = 0xEDB88320u;
constexpr uint32_t kInitial = 0xFFFFFFFFu;

ByteTable MakeByteTable() {
  ByteTable table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t crc = i;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ kPolynomial : crc >> 1;
    table[i] = crc;
  }
  return table;
}

const ByteTable& Table() {
  static const ByteTable table = MakeByteTable();
  return table;
}

uint32_t Apply(const LinearMap& map, uint32_t value) {
  uint32_t result = 0;
  for (int bit = 0; value != 0; ++bit, value >>= 1) {
    if (value & 1) result ^= map[bit];
  }
  return result;
}

LinearMap Compose(const LinearMap& outer, const LinearMap& inner) {
  LinearMap result{};
  for (int bit = 0; bit < 32; ++bit) result[bit] = Apply(outer, inner[bit]);
  return result;
}

// One zero byte fed into the register.
uint32_t ZeroByteStep(uint32_t reg) { return (reg >> 8) ^ Table()[reg & 0xFF]; }

// `count` zero bytes fed into the register, by repeated squaring.
LinearMap ZeroBytes(size_t count) {
  LinearMap power{};
  LinearMap result{};
  for (int bit = 0; bit < 32; ++bit) {
    power[bit] = ZeroByteStep(1u << bit);
    result[bit] = 1u << bit;
  }
  for (; count != 0; count >>= 1) {
    if (count & 1) result = Compose(power, result);
    power = Compose(power, power);
  }
  return result;
}

// The register of the bytes [0, end), from a start of all ones.
uint32_t PrefixRegister(const uint8_t* data, size_t end, size_t from, uint32_t regAtFrom) {
  return ~Crc32(~regAtFrom, data + from, end - from);
}

// Several windows are rolled side by side, each over its own stretch of
// offsets: their steps do not wait for one another, which more than doubles
// the speed of the one dependent chain of look-ups.
constexpr size_t kChains = 4;
constexpr size_t kStepsBetweenCalls = size_t{1} << 16;

struct Search {
  const uint8_t* data;
  size_t windowLength;
  uint32_t target;  // the register the ROM's window ends with
  ByteTable table;  // the byte table, at hand in the loop
  ByteTable leave;  // what a leaving byte contributes after the window
};

uint32_t Roll(const Search& search, uint32_t reg, size_t offset) {
  uint8_t entering = search.data[offset + search.windowLength];
  return (reg >> 8) ^ search.table[(reg ^ entering) & 0xFF] ^ search.leave[search.data[offset]];
}

// Rolls one window from `offset` (register `reg`) up to the last offset
// before `end`.
std::optional<size_t> RollOne(const Search& search, size_t offset, uint32_t reg, size_t end) {
  for (;; ++offset) {
    if (reg == search.target) return offset;
    if (offset + 1 >= end) return std::nullopt;
    reg = Roll(search, reg, offset);
  }
}

}  // namespace

std::optional<size_t> FindCrcWindow(const uint8_t* data, size_t length, size_t windowLength,
                                    uint32_t crc, const std::function<bool()>& keepGoing) {
  if (data == nullptr || windowLength == 0 || windowLength > length) return std::nullopt;
  const size_t offsets = length - windowLength + 1;
  const size_t chains = offsets >= kChains * 1024 ? kChains : 1;
  const size_t stretch = offsets / chains;

  Search search{data, windowLength, ~crc, Table(), {}};
  const LinearMap zeros = ZeroBytes(windowLength);
  const uint32_t initialAfterWindow = Apply(zeros, kInitial);
  const ByteTable& table = Table();
  for (uint32_t byte = 0; byte < 256; ++byte) {
    // The leaving byte, fed in before the window and the entering byte,
    // and the start value's share that moves with it.
    search.leave[byte] = Apply(zeros, table[byte] ^ ZeroByteStep(kInitial) ^ kInitial);
  }

  // The register of each chain's first window, from the registers of the
  // prefixes ending at its two edges: one pass over the data in all.
  std::array<size_t, kChains> starts{};
  std::array<uint32_t, kChains> regs{};
  std::vector<std::pair<size_t, uint32_t>> edges;  // (position, prefix register)
  for (size_t k = 0; k < chains; ++k) {
    starts[k] = k * stretch;
    edges.push_back({starts[k], 0});
    edges.push_back({starts[k] + windowLength, 0});
  }
  std::sort(edges.begin(), edges.end());
  size_t position = 0;
  uint32_t reg = kInitial;
  for (auto& edge : edges) {
    reg = PrefixRegister(data, edge.first, position, reg);
    position = edge.first;
    edge.second = reg;
  }
  auto prefixAt = [&](size_t at) {
    return std::lower_bound(edges.begin(), edges.end(), std::make_pair(at, uint32_t{0}))->second;
  };
  for (size_t k = 0; k < chains; ++k) {
    regs[k] = prefixAt(starts[k] + windowLength) ^ Apply(zeros, prefixAt(starts[k])) ^
              initialAfterWindow;
  }

  if (chains == 1) return RollOne(search, 0, regs[0], offsets);

  // Side by side up to the last offset of each stretch; the last chain then
  // goes on over the offsets left over.
  std::array<std::optional<size_t>, kChains> hits;
  for (size_t done = 0; done + 1 < stretch && !hits[0];) {
    if (!keepGoing()) return std::nullopt;
    size_t end = std::min(done + kStepsBetweenCalls, stretch - 1);
    for (size_t i = done; i < end; ++i) {
      for (size_t k = 0; k < kChains; ++k) {
        size_t offset = starts[k] + i;
        if (regs[k] == search.target && !hits[k]) hits[k] = offset;
        regs[k] = Roll(search, regs[k], offset);
      }
    }
    done = end;
  }
  for (size_t k = 0; k < kChains; ++k) {
    if (hits[k]) return hits[k];
    size_t last = starts[k] + stretch - 1;
    if (k + 1 < kChains && regs[k] == search.target) return last;
    if (k + 1 == kChains) return RollOne(search, last, regs[k], offsets);
  }
  return std::nullopt;
}

}  // namespace kestrel
