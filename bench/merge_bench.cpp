// Merging split zip sets into merged zip sets, against Info-ZIP's `zip -r`
// writing the same merged sets from loose files at the same level.
//
// The collection is generated once under /tmp/kestrel-merge-bench (about
// KESTREL_MERGE_BENCH_MB megabytes of split zips, 2048 by default): split
// zips alternating over two ROM paths, the same files loose in the merged
// layout for zip, and a datfile "collection.dat" of the game list, so that
// the collection can be tried with kestrel-cli as well. Every iteration
// works on fresh hard-linked copies of the split zips.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "archive/crc32.h"
#include "support/link_families.h"
#include "archive/zip_library.h"
#include "gamedb/game_set.h"
#include "merger/merger.h"
#include "settings/settings_record.h"

namespace fs = std::filesystem;
using namespace kestrel;

namespace {

const fs::path kRoot = "/tmp/kestrel-merge-bench";
constexpr char kLevel = '6';

// ROM contents that deflate to a little over half their size, as dumps of
// code and graphics often do.
std::string RomBytes(uint32_t seed, size_t size) {
  std::string data(size, '\0');
  uint64_t state = seed * 0x9E3779B97F4A7C15ull + 1;
  for (size_t block = 0; block < size; block += 1024) {
    state ^= state << 13, state ^= state >> 7, state ^= state << 17;
    size_t end = std::min(size, block + 1024);
    bool repeat = block >= 8192 && (state & 1) != 0;
    size_t from = block - 1024 * (1 + (state >> 8) % 8);
    for (size_t i = block; i < end; ++i) {
      if (repeat) {
        data[i] = data[from + (i - block)];
      } else {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        data[i] = static_cast<char>(state);
      }
    }
  }
  return data;
}

struct Collection {
  GameList database;
  uint64_t splitZipBytes = 0;
};

void WriteBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// One family: a parent of six ROMs and two clones, each with two ROMs of
// its own and one shared with the parent.
void AddFamily(Collection& collection, int family, std::string& datfile, ZipLibrary& zip) {
  char parentName[16];
  std::snprintf(parentName, sizeof parentName, "f%04d", family);
  uint32_t seed = static_cast<uint32_t>(family) * 100;
  for (int member = 0; member < 3; ++member) {
    GameSet game;
    game.name = member == 0 ? parentName : parentName + std::string("c") + std::to_string(member);
    game.description = game.name;
    if (member > 0) game.cloneOf = parentName, game.hasParent = true;
    datfile += "game (\n\tname " + game.name + "\n\tdescription \"" + game.name + "\"\n";
    if (member > 0) datfile += "\tcloneof " + std::string(parentName) + "\n";
    std::vector<std::string> files;
    int own = member == 0 ? 6 : 2;
    for (int r = 0; r < own + (member > 0 ? 1 : 0); ++r) {
      bool shared = r == own;  // the clone's copy of the parent's ROM r
      std::string romName = shared ? std::string(parentName) + ".r" + std::to_string(member)
                                   : game.name + ".r" + std::to_string(r);
      // A shared ROM has the parent's ROM's name and contents.
      uint32_t romSeed = seed + 50 + (shared ? static_cast<uint32_t>(member)
                                             : 10 * static_cast<uint32_t>(member) + static_cast<uint32_t>(r));
      size_t size = 128 * 1024 << (romSeed % 4);
      std::string bytes = RomBytes(romSeed, size);
      RomEntry rom;
      rom.name = romName;
      rom.size = static_cast<int32_t>(size);
      SetRomCrc(rom, Crc32(0, bytes.data(), bytes.size()));
      game.roms.push_back(rom);
      char line[160];
      std::snprintf(line, sizeof line, "\trom ( name %s size %zu crc %08x )\n", romName.c_str(), size, rom.crc);
      datfile += line;
      if (shared) continue;
      fs::path loose = kRoot / "merged-loose" / parentName / romName;
      WriteBytes(loose, bytes);
      files.push_back(loose.string());
    }
    datfile += ")\n";
    std::sort(game.roms.begin(), game.roms.end(), LessRomByName);
    game.romCount = static_cast<int>(game.roms.size());
    fs::path zipPath = kRoot / "pristine" / (family % 2 == member % 2 ? "roms1" : "roms2") / (game.name + ".zip");
    fs::create_directories(zipPath.parent_path());
    ZipAddFiles(kestrel::RealFileSystem(), zip, zipPath.string(), files);
    collection.splitZipBytes += fs::file_size(zipPath);
    collection.database.push_back(std::move(game));
  }
}


Collection& TheCollection() {
  static Collection collection = [] {
    Collection made;
    const char* megabytes = std::getenv("KESTREL_MERGE_BENCH_MB");
    uint64_t target = uint64_t(megabytes ? std::atoi(megabytes) : 2048) << 20;
    fs::remove_all(kRoot);
    ZipLibrary zip;
    zip.level = kLevel;
    std::string datfile = "emulator (\n\tname \"merge benchmark\"\n)\n";
    for (int family = 0; made.splitZipBytes < target; ++family) AddFamily(made, family, datfile, zip);
    WriteBytes(kRoot / "collection.dat", datfile);
    kestrel::testing::LinkFamilies(made.database);
    return made;
  }();
  return collection;
}

void FreshCopy() {
  fs::remove_all(kRoot / "run");
  fs::create_directories(kRoot / "run");
  fs::copy(kRoot / "pristine", kRoot / "run", fs::copy_options::recursive | fs::copy_options::create_hard_links);
}

void BM_MergeSplitZips(benchmark::State& state) {
  Collection& collection = TheCollection();
  ZipLibrary zip;
  zip.level = kLevel;
  for (auto _ : state) {
    state.PauseTiming();
    FreshCopy();
    SettingsRecord settings;
    settings.romPaths = {{(kRoot / "run/roms1/").string(), true}, {(kRoot / "run/roms2/").string(), true}};
    state.ResumeTiming();
    MergeOutcome outcome = RunMerger(collection.database, settings, nullptr, zip, MergeButton::kMerge);
    if (outcome.handled.size() * 3 != collection.database.size()) state.SkipWithError("a family was not merged");
  }
  state.counters["splitMB"] = double(collection.splitZipBytes) / (1 << 20);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(collection.splitZipBytes));
}
BENCHMARK(BM_MergeSplitZips)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_ZipRecursiveFromLooseFiles(benchmark::State& state) {
  Collection& collection = TheCollection();
  std::string command = "cd " + (kRoot / "merged-loose").string() +
                        " && for set in *; do (cd \"$set\" && zip -r -q -" + kLevel + " ../../zip-r/\"$set\".zip .) || exit 1; done";
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(kRoot / "zip-r");
    fs::create_directories(kRoot / "zip-r");
    state.ResumeTiming();
    if (std::system(command.c_str()) != 0) state.SkipWithError("zip failed");
  }
  state.counters["splitMB"] = double(collection.splitZipBytes) / (1 << 20);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(collection.splitZipBytes));
}
BENCHMARK(BM_ZipRecursiveFromLooseFiles)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
