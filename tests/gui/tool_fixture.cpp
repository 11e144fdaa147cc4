#include "gui/tool_fixture.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "app/scripted_interface.h"
#include "archive/crc32.h"
#include "archive/zip_library.h"
#include "archive/zip_reader.h"
#include "gamedb/datfile_parser.h"
#include "gamedb/validate_games.h"
#include "gui/progress_window.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel::testing {

std::string RomData(const std::string& romName) {
  std::string data;
  for (int i = 0; data.size() < 2000; ++i) data += romName + " line " + std::to_string(i) + "\n";
  return data;
}

GameList MakeDatabase(const std::vector<TestGame>& games, const std::string& datfile) {
  std::string text;
  for (const TestGame& game : games) {
    text += "game (\n\tname " + game.name + "\n\tdescription \"" + game.name + "\"\n";
    if (!game.cloneOf.empty()) text += "\tcloneof " + game.cloneOf + "\n";
    for (const std::string& rom : game.roms) {
      const std::string data = RomData(rom);
      char crc[9];
      std::snprintf(crc, sizeof crc, "%08x", Crc32(0, data.data(), data.size()));
      text += "\trom ( name " + rom + " size " + std::to_string(data.size()) + " crc " + crc + " )\n";
    }
    for (const std::string& sample : game.samples) text += "\tsample " + sample + "\n";
    text += ")\n";
  }
  WriteFile(datfile, text);
  ScriptedInterface quiet;
  auto progress = OpenProgressDialog(&quiet, "");
  GameList raw;
  GameList database;
  EXPECT_TRUE(ParseDatfile(raw, datfile, *progress, false));
  EXPECT_TRUE(ValidateGames(raw, database, *progress, 0));
  return database;
}

Files RomFiles(const std::vector<std::string>& names) {
  Files files;
  for (const std::string& name : names) files[name] = RomData(name);
  return files;
}

void WriteZip(const std::string& path, const Files& files) {
  const std::string staging = path + ".staging/";
  ZipChanges changes;
  for (const auto& [name, data] : files) {
    WriteFile(staging + name, data);
    changes.additions.push_back({staging + name, name});
  }
  ZipLibrary library;
  InitZipLibrary(library);
  EXPECT_TRUE(ZipUpdate(library, path, changes)) << path;
  std::filesystem::remove_all(staging);
}

Files ZipContents(const std::string& path) {
  Files files;
  ZipEntryList members;
  if (!FileExists(path) || !ReadZipDirectory(path, members, true, false)) return files;
  const std::string scratch = path + ".member";
  for (const ZipEntry& member : members) {
    EXPECT_TRUE(ExtractZipEntry(member, scratch));
    files[member.storedName] = ReadFile(scratch);
  }
  DeleteFile(scratch);
  return files;
}

void PressCancelWhenProgressShows(QWidget* owner, bool confirm, bool* pressed) {
  // Polls through the run's own event processing, which is where a person's
  // press would be noticed too.
  QTimer::singleShot(0, owner, [owner, confirm, pressed] {
    auto* progress = owner->findChild<ProgressWindow*>();
    if (progress == nullptr || !progress->isVisible()) {
      PressCancelWhenProgressShows(owner, confirm, pressed);
      return;
    }
    progress->confirmCancel = [confirm] { return confirm; };
    progress->cancelButton()->click();
    *pressed = true;
  });
}

}  // namespace kestrel::testing
