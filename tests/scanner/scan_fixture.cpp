#include "scanner/scan_fixture.h"

#include <algorithm>
#include <filesystem>

#include "archive/crc32.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "support/link_families.h"

namespace kestrel::testing {

ScanFixture::ScanFixture() {
  romPath = root / "roms/";
  samplePath = root / "samples/";
  std::filesystem::create_directories(romPath);
  std::filesystem::create_directories(samplePath);
  std::filesystem::create_directories(root / "temp");
  settings.romPaths = {{romPath}};
  settings.samplePaths = {{samplePath}};
  settings.tempFolder = root / "temp/";
  settings.backupFolder = root / "backup/";
  settings.fastscanFile = root / "fastscan.fsc";
  settings.pathWarnings = false;
  settings.zeroCrcCreation = false;
  InitZipLibrary(zipLibrary);
}

GameSet& ScanFixture::AddGame(const std::string& name, const std::vector<TestRom>& roms,
                              const std::string& cloneOf) {
  GameSet game;
  game.name = name;
  game.description = name + " game";
  game.cloneOf = cloneOf;
  game.hasParent = !cloneOf.empty();
  for (const TestRom& testRom : roms) {
    RomEntry rom;
    rom.name = testRom.name;
    rom.size = testRom.noDump ? testRom.noDumpSize : static_cast<int32_t>(testRom.data.size());
    SetRomCrc(rom, testRom.noDump ? 0 : CrcOf(testRom.data));
    game.roms.push_back(rom);
  }
  std::sort(game.roms.begin(), game.roms.end(), LessRomByName);
  game.romCount = static_cast<int>(game.roms.size());
  database.push_back(game);
  return database.back();
}

void ScanFixture::Link() { LinkFamilies(database); }

GameSet& ScanFixture::Game(const std::string& name) { return database[*FindGame(database, name)]; }

RomEntry& ScanFixture::Rom(const std::string& game, const std::string& rom) {
  GameSet& set = Game(game);
  return set.roms[FindRom(set, rom)];
}

void ScanFixture::AddSamples(const std::string& game, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    SampleEntry sample;
    sample.name = name;
    Game(game).samples.push_back(sample);
    Game(game).sampleCount++;
  }
}

void ScanFixture::WriteZipSet(const std::string& folder, const std::string& set,
                              const std::map<std::string, std::string>& files) {
  std::string staging = root / ("staging-" + set + "/");
  std::vector<std::string> arguments = {"-q", "-X", folder + set + ".zip"};
  for (const auto& [name, data] : files) {
    WriteFile(staging + name, data);
    arguments.push_back(name);
  }
  ASSERT_TRUE(RunProcess("/usr/bin/zip", arguments, "/dev/null", false, staging));
  std::filesystem::remove_all(staging);
}

void ScanFixture::WriteFolderSet(const std::string& folder, const std::string& set,
                                 const std::map<std::string, std::string>& files) {
  std::filesystem::create_directories(folder + set);
  for (const auto& [name, data] : files) WriteFile(folder + set + "/" + name, data);
}

ScanOutcome ScanFixture::Scan(bool fastscan) {
  ScanRequest request;
  request.fastscan = fastscan;
  request.dataFolder = root / "program/";
  request.zipLibrary = &zipLibrary;
  return RunScan(database, settings, &ui, results, request);
}

std::map<std::string, std::string> ScanFixture::Snapshot() const {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root.path())) {
    std::string path = entry.path().string();
    if (path == settings.fastscanFile) continue;
    files[path] = entry.is_directory() ? "<folder>" : ReadFile(path);
  }
  return files;
}

std::vector<std::string> ScanFixture::Lines() const {
  std::vector<std::string> texts;
  for (const ResultLine& line : results.lines) texts.push_back(line.text);
  return texts;
}

bool ScanFixture::HasLine(const std::string& text) const {
  std::vector<std::string> texts = Lines();
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::vector<std::string> ScanFixture::UnneededNames(const std::string& game) {
  std::vector<std::string> names;
  for (const FoundEntry& entry : Game(game).scanRecordsA) names.push_back(FileNamePart(entry.name));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace kestrel::testing
