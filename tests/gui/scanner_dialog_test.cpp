// The scanner dialog scans a small collection: what the results window
// shows, the ROMs box that filters it, the logfile and the browse buttons.
#include <gtest/gtest.h>

#include <QTreeView>

#include "gui/gui_test_helpers.h"
#include "gui/results_window.h"
#include "gui/scanner_controls.h"
#include "gui/scanner_dialog.h"
#include "gui/user_values.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

using testing::Click;
using testing::RomData;
using testing::WriteFile;

// A small collection with one finding of several kinds: alpha lacks a ROM
// and holds an unneeded file, beta is missing (its files lie in a folder
// under a wrong name), delta's ROM is too long.
struct Collection {
  testing::TempFolder folder;
  GameList database = testing::MakeDatabase({{"alpha", "", {"a1.bin", "a2.bin"}}, {"beta", "", {"b1.bin"}},
                                             {"delta", "", {"d1.bin"}}},
                                            folder / "games.dat");
  SettingsRecord settings;
  WindowLayout layout;

  Collection() {
    WriteFile(folder / "roms/alpha/a1.bin", RomData("a1.bin"));
    WriteFile(folder / "roms/betx/b1.bin", RomData("b1.bin"));
    WriteFile(folder / "roms/alpha/junk.txt", "junk");
    WriteFile(folder / "roms/delta/d1.bin", RomData("d1.bin") + "more");
    for (GameSet& game : database) game.selected = true;
    settings.romPaths = {PathEntry{folder / "roms/", true, -1, 0}};
    settings.tempFolder = folder / "temp/";
    settings.backupFolder = folder / "backup/";
    settings.pathWarnings = false;
    settings.fastscanFile = folder / "fastscan.fsc";
    settings.scannerLogfile = folder / "kestrel.log";
  }
};

// What the results window shows, in the logfile's layout.
std::string ShownTree(ScannerDialog& dialog) {
  dialog.resultsWindow()->Follow();
  const QAbstractItemModel* model = dialog.resultsWindow()->tree()->model();
  std::string shown;
  for (int top = 0; top < model->rowCount(); ++top) {
    const QModelIndex header = model->index(top, 0);
    shown += (top > 0 ? "\n" : "") + header.data().toString().toStdString() + "\n";
    for (int child = 0; child < model->rowCount(header); ++child)
      shown += model->index(child, 0, header).data().toString().toStdString() + "\n";
  }
  return shown;
}

TEST(ScannerDialog, ScanFillsTheTreeTheRomsBoxFiltersItAndTheLogfileHoldsIt) {
  Collection c;
  c.settings.fixName = true;  // turned off with its check, it stays off: no fix runs unasked
  ScriptedInterface ui;
  ScannerDialog dialog({&c.settings, &c.database, c.folder / "data/", nullptr, &c.layout, &ui});
  Click(dialog, kCheckNameBox);
  EXPECT_FALSE(c.settings.fixName);
  Click(dialog, kCheckNameBox);
  std::vector<std::string> statistics;
  dialog.showStatistics = [&](const std::string& text) { statistics.push_back(text); };

  dialog.Scan(false);
  // Never placed before, the results window comes up beside the dialog.
  dialog.show();
  EXPECT_GT(dialog.resultsWindow()->x(), dialog.frameGeometry().right());
  const std::string roms = c.folder / "roms/", full = ShownTree(dialog);
  EXPECT_EQ(full, "wrong name: " + roms + "betx [wrong: betx] [right: beta]\n\nalpha [folder: alpha]\n"
                  "missing rom: a2.bin [length: 2002] [chksum: 7ce0ff67 (831f0098)]\n"
                  "unneeded file: " + roms + "alpha/junk.txt\nromset: bad (a2.bin NOT FOUND)\n\n"
                  "beta [folder: beta]\nmissing game: beta\n"
                  "missing rom: b1.bin [length: 2002] [chksum: b1670ba4 (4e98f45b)]\nromset: not found\n\n"
                  "delta [folder: delta]\nwrong length: d1.bin [wrong: 2006] [right: 2002]\n"
                  "wrong checksum: d1.bin [wrong: 227fe0ae] [right: 857db60a (7a8249f5)]\n"
                  "romset: bad (d1.bin INCORRECT LENGTH)\n");
  EXPECT_TRUE(FileExists(c.folder / "roms/betx/b1.bin"));  // not renamed
  ASSERT_EQ(statistics.size(), 1u);
  EXPECT_EQ(statistics[0], dialog.statisticsText());
  EXPECT_EQ(statistics[0].rfind("Missing Games:          1 of 3\n", 0), 0u) << statistics[0];
  EXPECT_TRUE(FileExists(c.settings.fastscanFile));

  Click(dialog, kScanRomsBox);
  // Only ROM lines under delta: it goes whole; the ROM sets' verdicts go too.
  const std::string withoutRoms = ShownTree(dialog);
  EXPECT_EQ(withoutRoms, "wrong name: " + roms + "betx [wrong: betx] [right: beta]\n\nalpha [folder: alpha]\n"
                         "unneeded file: " + roms + "alpha/junk.txt\n\nbeta [folder: beta]\nmissing game: beta\n");
  c.settings.addStatistics = true;
  dialog.SaveLogfile();
  EXPECT_EQ(testing::ReadFile(c.settings.scannerLogfile), withoutRoms + "\n----------\n" + dialog.statisticsText());
  EXPECT_EQ(ui.messages.back().text, "Logfile saved successfully !\n\n" + c.settings.scannerLogfile);
  Click(dialog, kScanRomsBox);
  EXPECT_EQ(ShownTree(dialog), full);

  // Each "<" button chooses its own file; a cancelled chooser keeps the file.
  ui.fileAnswers = {"/x/new.fsc", "", "/x/new.log"};
  Click(dialog, kFastscanBrowse);
  Click(dialog, kLogfileBrowse);
  EXPECT_EQ(c.settings.fastscanFile + " " + c.settings.scannerLogfile, "/x/new.fsc " + c.folder / "kestrel.log");
  Click(dialog, kLogfileBrowse);
  EXPECT_EQ(c.settings.fastscanFile + " " + c.settings.scannerLogfile, "/x/new.fsc /x/new.log");
}

// Damaged zips do not stop the scan with a box each: their notices come
// once, at the end, one line per file with its reasons; an empty zip is
// no problem.
TEST(ScannerDialog, GathersTheNoticesOfDamagedZipsIntoOneList) {
  Collection c;
  WriteFile(c.folder / "roms/beta.zip", "PK\x03\x04 not a zip at all, only its first bytes");
  WriteFile(c.folder / "roms/gamma.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
  // A central directory that points at bytes that are none.
  WriteFile(c.folder / "roms/omega.zip", std::string(12, 'x') + std::string("PK\x05\x06\0\0\0\0\x01\0\x01\0", 12) +
                                             std::string("\x0a\0\0\0\0\0\0\0\0\0", 10));
  for (const char* name : {"gamma", "omega"}) {
    c.database.push_back(c.database[1]);
    c.database.back().name = name;
  }
  ScriptedInterface ui;
  ScannerDialog dialog({&c.settings, &c.database, c.folder / "data/", nullptr, &c.layout, &ui});
  dialog.showStatistics = [](const std::string&) {};
  // With no game selected the scan asks first; No scans nothing.
  for (GameSet& game : c.database) game.selected = false;
  ui.messageAnswers = {kResultNo};
  dialog.Scan(false);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "No game is selected in the settings, so the scan checks none of the 5 games.\n\n"
                                 "Scan anyway ?");
  EXPECT_EQ(ui.progressTitles.size(), 0u);
  ui.messages.clear();
  for (GameSet& game : c.database) game.selected = true;

  dialog.Scan(false);
  ASSERT_EQ(ui.messages.size(), 1u) << ui.messages.back().text;
  EXPECT_EQ(ui.messages[0].title, "Problems During The Scan");
  const std::string roms = c.folder / "roms/";
  EXPECT_EQ(ui.messages[0].text,
            roms + "beta.zip: Unsupported Zipformat In File; Corrupt Zipfile (Please rezip this file with a common "
                   "zip-program. Reason: BAD LOCAL FILE ENTRY)\n" +
                roms + "omega.zip: Unsupported Zipformat In File; Corrupt Zipfile (Please rezip this file with a "
                       "common zip-program. Reason: BAD LOCAL FILE ENTRY)");
}

}  // namespace
}  // namespace kestrel
