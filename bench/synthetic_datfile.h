// A game list at the scale of a full arcade listing, with the field noise of
// a real one (chips, video, sound, inputs, dip switches), for benchmarks.
// Deterministic: the same shape always gives the same text.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kestrel::bench {

struct SyntheticDatfileShape {
  int sets = 40000;
  int roms = 350000;  // about; spread unevenly over the sets
  int cloneEvery = 3;  // the last set of every group of this many is a clone of the first
  int sampleSetEvery = 40;  // one group in this many has a parent with samples
};

namespace detail {

inline uint32_t NextRandom(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

// A well-spread, distinct CRC per key.
inline uint32_t Mix(uint32_t key) {
  key ^= key >> 16;
  key *= 0x7FEB352Du;
  key ^= key >> 15;
  key *= 0x846CA68Bu;
  key ^= key >> 16;
  return key == 0 ? 1 : key;
}

inline std::string SetName(int index) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string name;
  for (int value = index, i = 0; i < 4 || value > 0; ++i, value /= 36) name.insert(name.begin(), kLetters[value % 36]);
  return "g" + name;
}

inline void AppendNoise(std::string& out, uint32_t& state) {
  static const char* const kCpus[] = {"Z80", "M68000", "M6809", "I8039", "M6502"};
  char line[256];
  std::snprintf(line, sizeof line, "\tyear %d\n\tmanufacturer \"%s\"\n", 1978 + static_cast<int>(NextRandom(state) % 25),
                NextRandom(state) % 2 ? "Kestrel Soft (licensed to Harrier Games)" : "Taito Corporation");
  out += line;
  for (int chip = 0; chip < 3; ++chip) {
    std::snprintf(line, sizeof line, "\tchip ( type cpu name %s clock %u )\n", kCpus[NextRandom(state) % 5],
                  1000000 + NextRandom(state) % 8000000);
    out += line;
  }
  out += "\tchip ( type audio name YM2151 clock 3579545 )\n";
  out += "\tvideo ( screen raster orientation vertical x 224 y 288 aspectx 3 aspecty 4 freq 60.606060 )\n";
  out += "\tsound ( channels 2 )\n";
  out += "\tinput ( players 2 control joy8way buttons 3 coins 2 service 1 tilt 1 )\n";
  out += "\tdipswitch ( name \"Difficulty Level\" entry \"Easy\" entry \"Normal\" entry \"Hard\" entry \"Hardest\" "
         "default \"Normal\" )\n";
  out += "\tdriver ( status good color good sound imperfect graphic good savestate supported palettesize 1024 )\n";
}

inline void AppendRom(std::string& out, const std::string& name, uint32_t size, uint32_t crc) {
  char line[192];
  std::snprintf(line, sizeof line, "\trom ( name %s size %u crc %08x sha1 %08x%08x%08x%08x%08x region cpu1 )\n",
                name.c_str(), size, crc, crc ^ 0x5A5A5A5Au, crc, ~crc, crc * 3u, crc * 7u);
  out += line;
}

}  // namespace detail

// Writes the list to `path`; false when the file cannot be written.
inline bool WriteSyntheticDatfile(const std::string& path, const SyntheticDatfileShape& shape = {}) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  uint32_t state = 12345;
  std::string out = "emulator (\n\tname \"synthetic\"\n\tdescription \"benchmark listing\"\n)\n\n";
  int averageRoms = std::max(1, shape.roms / std::max(1, shape.sets));
  bool written = true;
  for (int set = 0; set < shape.sets && written; ++set) {
    int group = shape.cloneEvery > 0 ? set / shape.cloneEvery : set;
    bool isClone = shape.cloneEvery > 0 && set % shape.cloneEvery == shape.cloneEvery - 1;
    int parent = shape.cloneEvery > 0 ? set - set % shape.cloneEvery : set;
    std::string name = detail::SetName(set);
    out += "game (\n\tname " + name + "\n\tdescription \"Synthetic Game " + std::to_string(set) +
           (isClone ? " (World, revision B)" : " (Japan)") + "\"\n";
    if (isClone) out += "\tcloneof " + detail::SetName(parent) + "\n\tromof " + detail::SetName(parent) + "\n";
    bool sampleGroup = shape.sampleSetEvery > 0 && group % shape.sampleSetEvery == 0;
    bool hasSamples = sampleGroup && set == parent;
    detail::AppendNoise(out, state);
    int roms = 1 + static_cast<int>(detail::NextRandom(state) % static_cast<uint32_t>(2 * averageRoms));
    for (int rom = 0; rom < roms; ++rom) {
      // A clone shares its first ROMs with its parent: same name, same content.
      bool shared = isClone && rom < roms / 2;
      int owner = shared ? parent : set;
      uint32_t crc = detail::Mix(static_cast<uint32_t>(owner) * 64u + static_cast<uint32_t>(rom));
      std::string romName = detail::SetName(owner) + "-" + std::to_string(rom) + ".bin";
      detail::AppendRom(out, romName, 1024u << (rom % 7), crc);
    }
    if (hasSamples) {
      for (int sample = 0; sample < 6; ++sample) out += "\tsample s" + std::to_string(sample) + ".wav\n";
    } else if (isClone && sampleGroup) {
      out += "\tsampleof " + detail::SetName(parent) + "\n";
    }
    out += ")\n\n";
    if (out.size() > (size_t{1} << 20)) {
      written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
      out.clear();
    }
  }
  if (written) written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace kestrel::bench
