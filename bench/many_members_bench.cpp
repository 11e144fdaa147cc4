// A scan of one set zip holding 50,000 one-byte members against a list of
// one ROM: every member is looked at once, so the time must stay near
// linear in the members.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "archive/crc32.h"
#include "gamedb/game_set.h"
#include "report/results_model.h"
#include "scanner/scan_driver.h"
#include "settings/settings_record.h"

namespace {

constexpr int kMembers = 50000;
const std::string kFolder = "/tmp/kestrel-many-members-bench/";

void Put16(std::string& out, uint32_t value) {
  out += char(value & 0xFF);
  out += char((value >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// A stored zip of `kMembers` one-byte members, written by hand.
void WriteZip(const std::string& path) {
  std::string local, central;
  for (int i = 0; i < kMembers; ++i) {
    char name[16];
    std::snprintf(name, sizeof(name), "m%05d.bin", i);
    char data = char('a' + i % 26);
    uint32_t crc = kestrel::Crc32(0, &data, 1);
    uint32_t offset = uint32_t(local.size());
    for (std::string* out : {&local, &central}) {
      bool isCentral = out == &central;
      Put32(*out, isCentral ? 0x02014b50 : 0x04034b50);
      if (isCentral) Put16(*out, 20);
      Put16(*out, 20), Put16(*out, 0), Put16(*out, 0), Put16(*out, 0), Put16(*out, 0);
      Put32(*out, crc), Put32(*out, 1), Put32(*out, 1);
      Put16(*out, uint32_t(std::string(name).size())), Put16(*out, 0);
      if (isCentral) Put16(*out, 0), Put16(*out, 0), Put16(*out, 0), Put32(*out, 0), Put32(*out, offset);
      *out += name;
      if (!isCentral) *out += data;
    }
  }
  std::string end;
  Put32(end, 0x06054b50), Put16(end, 0), Put16(end, 0), Put16(end, kMembers), Put16(end, kMembers);
  Put32(end, uint32_t(central.size())), Put32(end, uint32_t(local.size())), Put16(end, 0);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::string all = local + central + end;
  std::fwrite(all.data(), 1, all.size(), file);
  std::fclose(file);
}

void BM_ScanZipOfManyMembers(benchmark::State& state) {
  std::filesystem::create_directories(kFolder + "roms");
  std::filesystem::create_directories(kFolder + "temp");
  if (!std::filesystem::exists(kFolder + "roms/big.zip")) WriteZip(kFolder + "roms/big.zip");
  kestrel::SettingsRecord settings;
  settings.romPaths = {{kFolder + "roms/"}};
  settings.tempFolder = kFolder + "temp/";
  settings.backupFolder = kFolder + "backup/";
  settings.fastscanFile = kFolder + "fastscan.fsc";
  settings.pathWarnings = false;
  settings.checkCase = true;
  kestrel::GameList database(1);
  database[0].name = "big";
  database[0].description = "Big";
  database[0].index = 0;
  kestrel::RomEntry rom;
  rom.name = "m00000.bin";
  rom.size = 1;
  char data = 'a';
  kestrel::SetRomCrc(rom, kestrel::Crc32(0, &data, 1));
  database[0].roms.push_back(rom);
  database[0].romCount = 1;
  kestrel::ScanRequest request;
  request.dataFolder = kFolder + "program/";
  request.showStatistics = false;
  for (auto _ : state) {
    kestrel::ScanResults scanResults;
    kestrel::ResultsModel results;
    kestrel::ScanOutcome outcome =
        kestrel::RunScan(database, scanResults, settings, nullptr, results, request);
    if (outcome.statistics.unneeded != kMembers - 1) state.SkipWithError("wrong count");
  }
}
BENCHMARK(BM_ScanZipOfManyMembers)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
