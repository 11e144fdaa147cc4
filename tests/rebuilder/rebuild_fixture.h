// A game list, a source folder and a destination folder on disk, and the
// rebuilder run over them as the dialog runs it.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/scripted_interface.h"
#include "archive/zip_library.h"
#include "gamedb/game_set.h"
#include "platform/file_system.h"
#include "rebuilder/rebuilder.h"
#include "settings/settings_record.h"
#include "support/crc_data.h"
#include "support/temp_folder.h"

namespace kestrel::testing {

using Files = std::map<std::string, std::string>;  // file name -> contents

class RebuildTest : public ::testing::Test {
 protected:
  RebuildTest();

  // Adds a game with its ROMs (name, contents) to the list; Load() parses
  // and validates the list.
  void AddGame(const std::string& name, const std::vector<std::pair<std::string, std::string>>& roms);
  void Load();

  // Writes a zip made by Info-ZIP's zip (deflated), members named as given.
  void WriteZip(const std::string& path, const Files& members);

  // Empties the destination folder, keeping it.
  void ClearDestination();
  // CheckRebuildFolders, then RunRebuild when the folders pass.
  RebuildOutcome Rebuild(FileSystem& fs = RealFileSystem()) {
    if (CheckRebuildFolders(settings, &ui)) return RunRebuild(database, settings, zipLibrary, &ui, fs);
    RebuildOutcome refused;
    refused.refused = true;
    return refused;
  }
  // Every file under `folder`, a zip as "name.zip:member" per member.
  Files Tree(const std::string& folder);
  std::string Log() const { return FileExists(logfile) ? ReadFile(logfile) : "(no log)"; }

  TempFolder root;
  std::string source = root / "source/", destination = root / "destination/", logfile = root / "rebuild.log";
  SettingsRecord settings;
  GameList database;
  ScriptedInterface ui;
  ZipLibrary zipLibrary;

 private:
  std::string datfile_;
};

}  // namespace kestrel::testing
