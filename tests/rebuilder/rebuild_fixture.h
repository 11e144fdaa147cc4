// A game list, a source folder and a destination folder on disk, and the
// rebuilder run over them as the dialog runs it.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/scripted_interface.h"
#include "archive/zip_library.h"
#include "gamedb/game_set.h"
#include "rebuilder/rebuilder.h"
#include "settings/settings_record.h"
#include "support/crc_data.h"
#include "support/temp_folder.h"

namespace kestrel::testing {

struct GameRom {
  std::string name;
  std::string data;  // "" for a ROM without a known dump of `noDumpSize` bytes
  int noDumpSize = 0;
};

class RebuildTest : public ::testing::Test {
 protected:
  RebuildTest();
  ~RebuildTest() override;

  // Adds a game to the list; Load() parses and validates the list.
  void AddGame(const std::string& name, const std::vector<GameRom>& roms, const std::string& cloneOf = "",
               const std::string& romOf = "");
  void Load();
  // Parses and validates a whole list, in the text or the XML form.
  void LoadList(const std::string& list);

  // Writes a zip made by Info-ZIP's zip, members named as given.
  void WriteZip(const std::string& path, const std::map<std::string, std::string>& members);

  // Empties the destination folder, keeping it.
  void ClearDestination();
  // CheckRebuildFolders, then RunRebuild when the folders pass.
  RebuildOutcome Rebuild();
  // Every file under `folder`, a zip as "name.zip:member" per member.
  std::map<std::string, std::string> Tree(const std::string& folder);
  std::string Log() const;

  TempFolder root;
  std::string source, destination, logfile;
  SettingsRecord settings;
  GameList database;
  ScriptedInterface ui;
  ZipLibrary zipLibrary;

 private:
  std::string datfile_;
};

}  // namespace kestrel::testing
