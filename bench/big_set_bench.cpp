// Scans of one set far larger than any real one, in the two shapes that once
// took time growing with the square of the set: a zip whose every member is
// wrongly named, and a game whose ROMs all share one content (one CRC), with
// double names allowed. Both must stay near linear. The same shapes as text
// files for the command line: bench/make_big_set.py.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "archive/crc32.h"
#include "gamedb/alias_groups.h"
#include "gamedb/game_set.h"
#include "report/results_model.h"
#include "scanner/scan_driver.h"
#include "settings/settings_record.h"
#include "support/stored_zip.h"

namespace {

const std::string kFolder = "/tmp/kestrel-big-set-bench/";

std::string RomName(int index) {
  char name[16];
  std::snprintf(name, sizeof(name), "r%06d.bin", index);
  return name;
}

// A list of one game, "big", of ROMs with these contents, named r000000.bin
// and on.
kestrel::GameList OneGame(const std::vector<std::string>& contents) {
  kestrel::GameList database(1);
  kestrel::GameSet& game = database[0];
  game.name = "big";
  game.description = "Big";
  game.index = 0;
  for (size_t i = 0; i < contents.size(); ++i) {
    kestrel::RomEntry rom;
    rom.name = RomName(int(i));
    rom.size = int32_t(contents[i].size());
    kestrel::SetRomCrc(rom, kestrel::Crc32(0, contents[i].data(), contents[i].size()));
    game.roms.push_back(rom);
  }
  game.romCount = int(game.roms.size());
  kestrel::GroupAliases(database);
  return database;
}

// Scans `database` against the zip `shape`.zip, written by `members` once.
kestrel::ScanStatistics ScanOnce(const kestrel::GameList& database, const std::string& shape) {
  std::string folder = kFolder + shape + "/";
  kestrel::SettingsRecord settings;
  settings.romPaths = {{folder + "roms/"}};
  settings.tempFolder = folder + "temp/";
  settings.backupFolder = folder + "backup/";
  settings.fastscanFile = folder + "fastscan.fsc";
  settings.pathWarnings = false;
  kestrel::ScanRequest request;
  request.dataFolder = folder + "program/";
  request.showStatistics = false;
  kestrel::GameList scanned = database;
  kestrel::ScanResults scanResults;
  kestrel::ResultsModel results;
  return kestrel::RunScan(scanned, scanResults, settings, nullptr, results, request).statistics;
}

void WriteSet(const std::string& shape, const std::vector<std::pair<std::string, std::string>>& members) {
  std::string roms = kFolder + shape + "/roms/";
  std::filesystem::remove_all(kFolder + shape);
  std::filesystem::create_directories(roms);
  std::string zip = kestrel::testing::StoredZip(members);
  std::FILE* file = std::fopen((roms + "big.zip").c_str(), "wb");
  std::fwrite(zip.data(), 1, zip.size(), file);
  std::fclose(file);
}

// Every member holds a ROM's content under a name of no ROM.
void BM_ScanWrongNamedMembers(benchmark::State& state) {
  int count = int(state.range(0));
  std::vector<std::string> contents;
  std::vector<std::pair<std::string, std::string>> members;
  for (int i = 0; i < count; ++i) {
    char data[16];
    std::snprintf(data, sizeof(data), "%08d", i);
    contents.push_back(data);
    members.push_back({"wrong" + RomName(i), data});
  }
  kestrel::GameList database = OneGame(contents);
  std::string shape = "wrong-names-" + std::to_string(count);
  WriteSet(shape, members);
  for (auto _ : state) {
    if (ScanOnce(database, shape).wrongNamedRoms != count) state.SkipWithError("wrong count");
  }
}
BENCHMARK(BM_ScanWrongNamedMembers)->Arg(1000)->Arg(8000)->Arg(60000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Every ROM has one content; the zip holds every other ROM under its own
// name, so the rest are found under an alias.
void BM_ScanSameCrcRoms(benchmark::State& state) {
  int count = int(state.range(0));
  std::vector<std::string> contents(size_t(count), "same");
  std::vector<std::pair<std::string, std::string>> members;
  for (int i = 0; i < count; i += 2) members.push_back({RomName(i), "same"});
  kestrel::GameList database = OneGame(contents);
  std::string shape = "same-crc-" + std::to_string(count);
  WriteSet(shape, members);
  for (auto _ : state) {
    kestrel::ScanStatistics statistics = ScanOnce(database, shape);
    if (statistics.missingArcadeRoms != 0 || statistics.unneeded != 0) state.SkipWithError("wrong count");
  }
}
BENCHMARK(BM_ScanSameCrcRoms)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
