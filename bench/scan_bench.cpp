// A full scan and a fastscan of 10,000 zip sets with 10 members each against
// a matching game list, every check on, non-merged sets. The collection is
// written once under /tmp and reused; one set in a hundred lacks a ROM, so a
// fastscan has something to look at.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/crc32.h"
#include "gamedb/game_set.h"
#include "report/results_model.h"
#include "scanner/scan_driver.h"
#include "settings/settings_record.h"

namespace {

constexpr int kSets = 10000;
constexpr int kMembers = 10;
constexpr int kMissingEvery = 100;
const std::string kRoot = "/tmp/kestrel-scan-bench/";

std::string SetName(int set) {
  char name[16];
  std::snprintf(name, sizeof name, "g%05d", set);
  return name;
}

std::string RomName(int member) {
  char name[16];
  std::snprintf(name, sizeof name, "r%d.bin", member);
  return name;
}

std::string RomData(int set, int member) {
  std::string data(64, char('a' + member));
  data.replace(0, 12, SetName(set) + "-" + std::to_string(member * 7919));
  return data;
}

uint32_t CrcOf(const std::string& data) { return kestrel::Crc32(0, data.data(), data.size()); }

void Put16(std::string& out, uint32_t value) {
  out.push_back(char(value & 0xFF));
  out.push_back(char((value >> 8) & 0xFF));
}
void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// A stored zip as common zip programs lay it out: local headers with their
// data, the central directory, the end record.
std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& members) {
  std::string zip, central;
  for (const auto& [name, data] : members) {
    uint32_t offset = uint32_t(zip.size());
    uint32_t crc = CrcOf(data);
    auto common = [&](std::string& out) {
      Put16(out, 20);  // version needed
      Put16(out, 0);   // flags
      Put16(out, 0);   // stored
      Put16(out, 0);   // time
      Put16(out, 0x21);  // date
      Put32(out, crc);
      Put32(out, uint32_t(data.size()));
      Put32(out, uint32_t(data.size()));
      Put16(out, uint16_t(name.size()));
      Put16(out, 0);  // extra length
    };
    Put32(zip, 0x04034B50);
    common(zip);
    zip += name;
    zip += data;
    Put32(central, 0x02014B50);
    Put16(central, 20);  // version made by
    common(central);
    Put16(central, 0);  // comment length
    Put16(central, 0);  // disk
    Put16(central, 0);  // internal attributes
    Put32(central, 0);  // external attributes
    Put32(central, offset);
    central += name;
  }
  uint32_t centralOffset = uint32_t(zip.size());
  zip += central;
  Put32(zip, 0x06054B50);
  Put16(zip, 0);
  Put16(zip, 0);
  Put16(zip, uint16_t(members.size()));
  Put16(zip, uint16_t(members.size()));
  Put32(zip, uint32_t(central.size()));
  Put32(zip, centralOffset);
  Put16(zip, 0);
  return zip;
}

void WriteCollection() {
  std::string romPath = kRoot + "roms/";
  if (std::filesystem::exists(kRoot + "complete")) return;
  std::filesystem::create_directories(romPath);
  std::filesystem::create_directories(kRoot + "temp");
  for (int set = 0; set < kSets; ++set) {
    std::vector<std::pair<std::string, std::string>> members;
    int count = set % kMissingEvery == 0 ? kMembers - 1 : kMembers;
    for (int member = 0; member < count; ++member) {
      members.emplace_back(RomName(member), RomData(set, member));
    }
    std::string zip = StoredZip(members);
    std::FILE* file = std::fopen((romPath + SetName(set) + ".zip").c_str(), "wb");
    std::fwrite(zip.data(), 1, zip.size(), file);
    std::fclose(file);
  }
  std::fclose(std::fopen((kRoot + "complete").c_str(), "wb"));
}

kestrel::GameList MakeDatabase() {
  kestrel::GameList database;
  for (int set = 0; set < kSets; ++set) {
    kestrel::GameSet game;
    game.name = SetName(set);
    game.description = "Game " + game.name;
    game.index = set;
    for (int member = 0; member < kMembers; ++member) {
      kestrel::RomEntry rom;
      rom.name = RomName(member);
      std::string data = RomData(set, member);
      rom.size = int32_t(data.size());
      kestrel::SetRomCrc(rom, CrcOf(data));
      game.roms.push_back(rom);
    }
    game.romCount = kMembers;
    database.push_back(game);
  }
  return database;
}

kestrel::SettingsRecord MakeSettings() {
  kestrel::SettingsRecord settings;
  settings.romPaths = {{kRoot + "roms/"}};
  settings.tempFolder = kRoot + "temp/";
  settings.backupFolder = kRoot + "backup/";
  settings.fastscanFile = kRoot + "fastscan.fsc";
  settings.scanMergeMode = kestrel::SetLayout::kNonMerged;
  settings.checkCase = true;  // every other check is on by default
  settings.showAllZeroCrcs = true;
  settings.zeroCrcCreation = false;
  return settings;
}

struct Fixture {
  kestrel::GameList database = MakeDatabase();
  kestrel::ScanResults scanResults;
  kestrel::SettingsRecord settings = MakeSettings();
  kestrel::ResultsModel results;
};

kestrel::ScanOutcome Scan(Fixture& fixture, bool fastscan) {
  kestrel::ScanRequest request;
  request.fastscan = fastscan;
  return kestrel::RunScan(fixture.database, fixture.scanResults, fixture.settings, nullptr,
                          fixture.results, request);
}

void BM_FullScan(benchmark::State& state) {
  WriteCollection();
  Fixture fixture;
  Scan(fixture, false);  // warms the file cache
  for (auto _ : state) {
    kestrel::ScanOutcome outcome = Scan(fixture, false);
    if (!outcome.ranToEnd || outcome.statistics.missingArcadeRoms != kSets / kMissingEvery) {
      state.SkipWithError("the scan did not find what the collection holds");
    }
  }
}
BENCHMARK(BM_FullScan)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Fastscan(benchmark::State& state) {
  WriteCollection();
  Fixture fixture;
  Scan(fixture, false);
  for (auto _ : state) {
    kestrel::ScanOutcome outcome = Scan(fixture, true);
    if (!outcome.ranToEnd || outcome.statistics.missingArcadeRoms != kSets / kMissingEvery) {
      state.SkipWithError("the fastscan did not find what the collection holds");
    }
  }
}
BENCHMARK(BM_Fastscan)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
