#include "demo_contents.h"

#include <array>

#include "archive/crc32.h"

namespace kestrel::demo {
namespace {

std::string Pattern(int seed, int size) {
  std::string bytes(static_cast<size_t>(size), '\0');
  for (int i = 0; i < size; ++i) bytes[i] = static_cast<char>((seed * 31 + i * 7 + (i >> 8)) & 0xFF);
  return bytes;
}

const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  return table;
}

uint32_t Crc(const std::string& bytes) { return Crc32(0, bytes.data(), bytes.size()); }

}  // namespace

// The table's entries differ in their top byte, so the register before
// each of the last four bytes can be traced back from the one wanted after
// them; the bytes then follow going forward.
std::string ForgeCrc(std::string prefix, uint32_t crc) {
  const std::array<uint32_t, 256>& table = CrcTable();
  std::array<uint8_t, 256> byTopByte{};
  for (uint32_t i = 0; i < 256; ++i) byTopByte[table[i] >> 24] = static_cast<uint8_t>(i);

  std::array<uint8_t, 4> index{};
  uint32_t reg = ~crc;
  for (int k = 3; k >= 0; --k) {
    index[k] = byTopByte[reg >> 24];
    reg = (reg ^ table[index[k]]) << 8;
  }
  reg = ~Crc(prefix);
  for (int k = 0; k < 4; ++k) {
    uint8_t byte = static_cast<uint8_t>((reg ^ index[k]) & 0xFF);
    prefix += static_cast<char>(byte);
    reg = (reg >> 8) ^ table[(reg ^ byte) & 0xFF];
  }
  return prefix;
}

std::map<uint32_t, std::string> MakeRomContents(const GameList& rawGames) {
  std::map<uint32_t, std::string> contents;
  int seed = 0;
  for (const GameSet& game : rawGames) {
    for (const RomEntry& rom : game.roms) {
      ++seed;
      if (contents.count(rom.crc) != 0) continue;
      if (rom.crc == 0) {
        contents[0] = std::string(static_cast<size_t>(rom.size), '\0');
        continue;
      }
      std::string bytes = Pattern(seed, rom.size);
      if (Crc(bytes) != rom.crc && rom.size >= 4) bytes = ForgeCrc(Pattern(seed, rom.size - 4), rom.crc);
      contents[rom.crc] = bytes;
    }
  }
  return contents;
}

}  // namespace kestrel::demo
