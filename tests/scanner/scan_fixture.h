// A small collection on disk, a hand-made game list to scan it against, and
// ways to read back what a scan or its repairs left on disk.
#pragma once

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "archive/zip_library.h"
#include "archive/zip_reader.h"
#include "gamedb/game_set.h"
#include "platform/disk_space.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "report/results_model.h"
#include "scanner/scan_driver.h"
#include "report/scan_results.h"
#include "settings/settings_record.h"
#include "support/crc_data.h"
#include "support/link_families.h"
#include "support/temp_folder.h"

namespace kestrel::testing {

using Names = std::vector<std::string>;
using Members = std::map<std::string, std::string>;  // stored name -> contents

struct TestRom {
  std::string name;
  std::string data;  // its size and CRC-32 make the ROM's; "" with noDump
  bool noDump = false;
  int32_t noDumpSize = 0;
};

class ScanFixture : public ::testing::Test {
 protected:
  ScanFixture() {
    romPath = root / "roms/";
    samplePath = root / "samples/";
    for (const std::string& folder : {romPath, samplePath, root / "temp"}) std::filesystem::create_directories(folder);
    settings.romPaths = {{romPath}};
    settings.samplePaths = {{samplePath}};
    settings.tempFolder = root / "temp/";
    settings.backupFolder = root / "backup/";
    settings.fastscanFile = root / "fastscan.fsc";
    settings.pathWarnings = settings.zeroCrcCreation = false;
  }

  // Adds a game; call Link() once all are added.
  GameSet& AddGame(const std::string& name, const std::vector<TestRom>& roms, const std::string& cloneOf = "") {
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
    return database.emplace_back(game);
  }
  // Sorts the list the way the database is kept and fills in the links.
  void Link() { LinkFamilies(database); }
  GameSet& Game(const std::string& name) { return database[*FindGame(database, name)]; }
  // What the last scan found of a game and of one of its ROMs.
  SetScan& ScanOf(const std::string& game) { return scanResults[*FindGame(database, game)]; }
  RomScan& RomScanOf(const std::string& game, const std::string& rom) {
    return ScanOf(game).roms[FindRom(Game(game), rom)];
  }

  // Writes a set as a zip (members named as given, folder parts kept) or as
  // a folder of loose files.
  void WriteZipSet(const std::string& folder, const std::string& set, const Members& files) {
    std::string staging = root / ("staging-" + set + "/");
    std::vector<std::string> arguments = {"-q", "-X", folder + set + ".zip"};
    for (const auto& [name, data] : files) {
      WriteFile(staging + name, data);
      arguments.push_back(name);
    }
    ASSERT_TRUE(RunProcess("/usr/bin/zip", arguments, "/dev/null", false, staging));
    std::filesystem::remove_all(staging);
  }
  void WriteFolderSet(const std::string& folder, const std::string& set, const Members& files) {
    std::filesystem::create_directories(folder + set);
    for (const auto& [name, data] : files) WriteFile(folder + set + "/" + name, data);
  }

  ScanOutcome Scan(bool fastscan = false, FileSystem& fs = RealFileSystem()) {
    ScanRequest request;
    request.fs = fs;
    request.fastscan = fastscan;
    request.dataFolder = root / "program/";
    request.zipLibrary = &zipLibrary;
    request.showStatistics = showStatistics;
    return RunScan(database, scanResults, settings, &ui, results, request);
  }

  // Every file under the fixture's folder (or only those of the ROM and
  // sample paths) with its contents.
  std::map<std::string, std::string> Snapshot(bool collectionOnly = false) const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root.path())) {
      std::string path = entry.path().string();
      bool outside = path.rfind(romPath, 0) != 0 && path.rfind(samplePath, 0) != 0;
      if (path != settings.fastscanFile && !(collectionOnly && outside))
        files[path] = entry.is_directory() ? "<folder>" : ReadFile(path);
    }
    return files;
  }
  // The members of a zip and their contents; empty when it does not read.
  Members ZipMembers(const std::string& zipPath) {
    Members members;
    ZipEntryList list;
    if (!ReadZipDirectory(RealFileSystem(), zipPath, list, false, nullptr)) return members;
    std::string scratch = root / "scratch.bin";
    for (const ZipEntry& entry : list) {
      members[entry.storedName] =
          ExtractZipEntry(RealFileSystem(), entry, scratch) ? ReadFile(scratch) : "<unreadable>";
      DeleteFile(scratch);
    }
    return members;
  }
  // A folder's files, by their path inside it, with their contents.
  Members FolderMembers(const std::string& folder) {
    Members members;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
      if (entry.is_regular_file()) members[entry.path().string().substr(folder.size() + 1)] = ReadFile(entry.path().string());
    return members;
  }
  // How many messages begin with `text`.
  size_t MessagesStartingWith(const std::string& text) const {
    return std::ranges::count_if(ui.messages, [&](const RecordedMessage& m) { return m.text.rfind(text, 0) == 0; });
  }
  // The names in a folder, sorted.
  Names FileNames(const std::string& folder) {
    Names names;
    for (const FolderEntry& entry : ListFolder(folder)) names.push_back(entry.name);
    return names;
  }
  // The texts of the result lines, in order.
  Names Lines() const {
    Names texts;
    for (const ResultLine& line : results.lines) texts.push_back(line.text);
    return texts;
  }
  bool HasLine(const std::string& text) const { return std::ranges::count(Lines(), text) > 0; }
  // Names of the game's unneeded candidates, without their folder, sorted.
  Names UnneededNames(const std::string& game) {
    Names names;
    for (const FoundEntry& entry : ScanOf(game).unneeded) names.push_back(FileNamePart(entry.name));
    std::sort(names.begin(), names.end());
    return names;
  }

  TempFolder root;
  std::string romPath;
  std::string samplePath;
  SettingsRecord settings;
  GameList database;
  ScanResults scanResults;
  ScriptedInterface ui;
  ResultsModel results;
  ZipLibrary zipLibrary;
  bool showStatistics = true;
};

// A collection to repair: every check on, no questions unless a test asks
// for them.
class RepairFixture : public ScanFixture {
 protected:
  RepairFixture() {
    settings.askBeforeFixing = false;
    settings.checkMissing = settings.checkName = settings.checkLength = true;
    settings.checkUnneeded = settings.checkChecksum = true;
    showStatistics = false;
  }
};

// `size` bytes that differ from seed to seed and hold no long runs.
inline std::string PseudoRandom(size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::string data(size, '\0');
  for (char& c : data) c = static_cast<char>(generator() & 0xFF);
  return data;
}

}  // namespace kestrel::testing
