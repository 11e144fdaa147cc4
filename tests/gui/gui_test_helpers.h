// Helpers of the widget tests: answering a modal window about to open,
// game databases made from ROM contents, zips written and read.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/scripted_interface.h"
#include "archive/zip_reader.h"
#include "gamedb/datfile_parser.h"
#include "gamedb/validate_games.h"
#include "platform/file_system.h"
#include "support/crc_data.h"
#include "support/stored_zip.h"
#include "support/temp_folder.h"

namespace kestrel::testing {

using Files = std::map<std::string, std::string>;  // name -> contents

// Calls `act` with the modal window once it is shown; a window that never
// appears fails the test instead of hanging it.
inline void WhenModalOpens(std::function<void(QWidget*)> act, int attempts = 200) {
  QTimer::singleShot(10, [act, attempts] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      act(modal);
    } else if (attempts > 0) {
      WhenModalOpens(act, attempts - 1);
    } else {
      ADD_FAILURE() << "no modal window opened";
      for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) dialog->reject();
    }
  });
}

// Contents of a ROM, different for every name.
inline std::string RomData(const std::string& romName) {
  std::string data;
  for (int i = 0; data.size() < 2000; ++i) data += romName + " line " + std::to_string(i) + "\n";
  return data;
}

struct TestGame {
  std::string name;
  std::string cloneOf;            // "" for a parent
  std::vector<std::string> roms;  // names; the contents are RomData(name)
  std::vector<std::string> samples = {};
};

// Parses and validates a datfile of `games`, written to `datfile`.
inline GameList MakeDatabase(const std::vector<TestGame>& games, const std::string& datfile) {
  std::string text;
  for (const TestGame& game : games) {
    text += "game (\n name " + game.name + "\n description \"" + game.name + "\"\n";
    if (!game.cloneOf.empty()) text += " cloneof " + game.cloneOf + "\n";
    for (const std::string& rom : game.roms) {
      char crc[9];
      std::snprintf(crc, sizeof crc, "%08x", CrcOf(RomData(rom)));
      text += " rom ( name " + rom + " size " + std::to_string(RomData(rom).size()) + " crc " + crc + " )\n";
    }
    for (const std::string& sample : game.samples) text += " sample " + sample + "\n";
    text += ")\n";
  }
  WriteFile(datfile, text);
  ScriptedInterface quiet;
  auto progress = OpenProgressDialog(&quiet, "");
  GameList raw, database;
  ListMessages listMessages;
  EXPECT_TRUE(ParseDatfile(raw, datfile, *progress, false, listMessages));
  EXPECT_TRUE(ValidateGames(raw, database, *progress, 0, listMessages));
  return database;
}

// The files of a set: the ROMs named, with their contents.
inline Files RomFiles(const std::vector<std::string>& names) {
  Files files;
  for (const std::string& name : names) files[name] = RomData(name);
  return files;
}

inline void WriteZip(const std::string& path, const Files& files) {
  WriteFile(path, StoredZip(std::vector<std::pair<std::string, std::string>>(files.begin(), files.end())));
}

// The members of a zip with their contents; empty when it is no zip.
inline Files ZipContents(const std::string& path) {
  Files files;
  ZipEntryList members;
  if (!FileExists(path) || !ReadZipDirectory(RealFileSystem(), path, members, true, nullptr)) return files;
  for (const ZipEntry& member : members) {
    EXPECT_TRUE(ExtractZipEntry(RealFileSystem(), member, path + ".member"));
    files[member.storedName] = ReadFile(path + ".member");
  }
  DeleteFile(path + ".member");
  return files;
}

}  // namespace kestrel::testing
