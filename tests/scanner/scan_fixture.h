// A small collection on disk and a hand-made game list to scan it against.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "archive/zip_library.h"
#include "gamedb/game_set.h"
#include "report/results_model.h"
#include "scanner/scan_driver.h"
#include "settings/settings_record.h"
#include "support/crc_data.h"
#include "support/temp_folder.h"

namespace kestrel::testing {


struct TestRom {
  std::string name;
  std::string data;  // its size and CRC-32 make the ROM's; "" with noDump
  bool noDump = false;
  int32_t noDumpSize = 0;
};

class ScanFixture : public ::testing::Test {
 protected:
  ScanFixture();

  // Adds a game; call Link() once all are added.
  GameSet& AddGame(const std::string& name, const std::vector<TestRom>& roms,
                   const std::string& cloneOf = "");
  // Sorts the list the way the database is kept and fills in the links.
  void Link();
  GameSet& Game(const std::string& name);
  RomEntry& Rom(const std::string& game, const std::string& rom);
  void AddSamples(const std::string& game, const std::vector<std::string>& names);

  // Writes a set as a zip (members named as given, folder parts kept) or as
  // a folder of loose files.
  void WriteZipSet(const std::string& folder, const std::string& set,
                   const std::map<std::string, std::string>& files);
  void WriteFolderSet(const std::string& folder, const std::string& set,
                      const std::map<std::string, std::string>& files);

  ScanOutcome Scan(bool fastscan = false);
  // Every file under the fixture's folder with its contents.
  std::map<std::string, std::string> Snapshot() const;
  // The texts of the result lines, in order.
  std::vector<std::string> Lines() const;
  bool HasLine(const std::string& text) const;
  // Names of the game's unneeded candidates, without their folder, sorted.
  std::vector<std::string> UnneededNames(const std::string& game);

  TempFolder root;
  std::string romPath;
  std::string samplePath;
  SettingsRecord settings;
  GameList database;
  ScriptedInterface ui;
  ResultsModel results;
  ZipLibrary zipLibrary;
};

}  // namespace kestrel::testing
