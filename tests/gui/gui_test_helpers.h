// Helpers of the widget tests: clicking and typing into a window's
// controls, answering a modal window about to open, game databases made
// from ROM contents, sets written and read.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
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

// Clicks control `id` of a window, a button or a box.
template <class Window>
void Click(Window& window, int id) {
  qobject_cast<QAbstractButton*>(window.control(id))->click();
}

// Types `text` into edit `id` of a window and leaves the edit.
template <class Window>
void Type(Window& window, int id, const std::string& text) {
  auto* edit = qobject_cast<QLineEdit*>(window.control(id));
  edit->setText(QString::fromLocal8Bit(text.c_str()));
  emit edit->editingFinished();
}

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

// Writes a zip of the ROMs named, with their contents.
inline void WriteSet(const std::string& path, const std::vector<std::string>& roms) {
  std::vector<std::pair<std::string, std::string>> members;
  for (const std::string& rom : roms) members.emplace_back(rom, RomData(rom));
  WriteFile(path, StoredZip(members));
}

// The zips of `folder` in order, as "name.zip: member member; ...". Every
// member must hold the contents of the ROM it is named after.
inline std::string SetsIn(const std::string& folder) {
  std::vector<std::string> zips;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == ".zip") zips.push_back(entry.path().filename().string());
  std::sort(zips.begin(), zips.end());
  std::string sets;
  for (const std::string& zip : zips) {
    ZipEntryList members;
    EXPECT_TRUE(ReadZipDirectory(RealFileSystem(), folder + zip, members, true, nullptr)) << zip;
    std::vector<std::string> names;
    for (const ZipEntry& member : members) {
      EXPECT_TRUE(ExtractZipEntry(RealFileSystem(), member, folder + "member"));
      EXPECT_EQ(ReadFile(folder + "member"), RomData(member.storedName)) << zip << " " << member.storedName;
      names.push_back(member.storedName);
    }
    std::sort(names.begin(), names.end());
    sets += (sets.empty() ? "" : "; ") + zip + ":";
    for (const std::string& name : names) sets += " " + name;
  }
  DeleteFile(folder + "member");
  return sets;
}

}  // namespace kestrel::testing
