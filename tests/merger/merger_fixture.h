// Two ROM paths on disk, a hand-made game list with two families and a
// single game, and the merger options of a first use (merged, zips, Clean
// Set, Remove Old, sets kept where they are, backups into a folder of
// their own).
#pragma once

#include <gtest/gtest.h>

#include <map>

#include "app/scripted_interface.h"
#include "archive/zip_library.h"
#include "gamedb/game_set.h"
#include "merger/merger.h"
#include "settings/settings_record.h"
#include "support/link_families.h"
#include "support/temp_folder.h"

namespace kestrel::testing {

using Files = std::map<std::string, std::string>;  // file name -> contents

// Contents of a ROM: different for every name, and shrinking when deflated.
std::string RomData(const std::string& romName);

class MergerTest : public ::testing::Test {
 protected:
  MergerTest();

  // Families: pacman (a.1, a.2) with clones pacmanf (a.1, f.3) and puckman
  // (a.2, p.4); galaxian (g.1) with clone galaxa (g.1, ga.2); single (s.1).
  void AddStandardGames();
  // The standard games as split zips over both paths, with a stale parent
  // folder in the second path.
  void WriteSplitCollection();
  GameSet& AddGame(const std::string& name, const Files& roms, const std::string& cloneOf = "");
  // Sorts the list, links parents and clones, sets inParent.
  void Link() { LinkFamilies(database); }
  GameSet& Game(const std::string& name) { return database[*FindGame(database, name)]; }

  // The files a set holds in the given layout, from RomData: its own ROMs
  // only (split), all of them (full), or the whole family's (merged).
  Files SplitFiles(const std::string& game) { return SetFiles(game, true); }
  Files FullFiles(const std::string& game) { return SetFiles(game, false); }
  Files MergedFiles(const std::string& parent);

  void WriteZip(const std::string& folder, const std::string& set, const Files& files);
  void WriteFolder(const std::string& folder, const std::string& set, const Files& files);
  // Member or file name -> contents of a set zip (every member must
  // extract) or of a set folder.
  Files ZipContents(const std::string& setPath);
  // Every entry under the root, by path relative to it, with its bytes
  // ("/" for a folder).
  Files Snapshot();
  // Expects every entry of `before` whose path does not hold `changing` to
  // be as it was, nothing new but in what does, and no work folder left.
  void ExpectUnchangedBut(const Files& before, const std::string& changing);

  MergeOutcome Run(MergeButton button = MergeButton::kMerge, FileSystem& fs = RealFileSystem()) {
    return RunMerger(database, settings, &ui, zipLibrary, button, fs);
  }

  TempFolder root;
  // Beside the ROM paths, so that Snapshot() shows only the collection.
  TempFolder backupRoot;
  std::string backupFolder = backupRoot / "backup/";
  std::string path1 = root / "roms1/", path2 = root / "roms2/";
  ScriptedInterface ui;
  GameList database;
  SettingsRecord settings;
  ZipLibrary zipLibrary;

 private:
  Files SetFiles(const std::string& game, bool ownOnly);
};

}  // namespace kestrel::testing
