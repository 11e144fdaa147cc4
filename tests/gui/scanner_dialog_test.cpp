#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTreeView>

#include "gui/gui_test_helpers.h"
#include "gui/results_window.h"
#include "gui/scanner_controls.h"
#include "gui/scanner_dialog.h"
#include "gui/user_values.h"
#include "platform/paths.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

using testing::RomData;
using testing::WriteFile;

// A small collection with one finding of several kinds: alpha lacks a ROM
// and holds an unneeded file, beta is missing (its files lie in a folder
// under a wrong name), gamma lacks its sample, delta's ROM is too long.
struct Collection {
  testing::TempFolder folder;
  GameList database = testing::MakeDatabase({{"alpha", "", {"a1.bin", "a2.bin"}}, {"beta", "", {"b1.bin"}},
                                             {"gamma", "", {"g1.bin"}, {"boom.wav"}}, {"delta", "", {"d1.bin"}}},
                                            folder / "games.dat");
  SettingsRecord settings;
  WindowLayout layout;

  Collection() {
    for (const char* rom : {"alpha/a1.bin", "betx/b1.bin", "gamma/g1.bin"})
      WriteFile(folder / "roms/" + rom, RomData(FileNamePart(rom)));
    WriteFile(folder / "roms/alpha/junk.txt", "junk");
    WriteFile(folder / "roms/delta/d1.bin", RomData("d1.bin") + "more");
    WriteFile(folder / "samples/other/x.wav", "x");
    for (GameSet& game : database) game.selected = true;
    settings.romPaths = {PathEntry{folder / "roms/", true, -1, 0}};
    settings.samplePaths = {PathEntry{folder / "samples/", true, -1, 0}};
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

// Each "<" button chooses its own file; a cancelled chooser keeps the file.
TEST(ScannerDialog, BrowseButtonsChooseTheFastscanFileAndTheLogfile) {
  Collection c;
  ScriptedInterface ui;
  ScannerDialog dialog({&c.settings, &c.database, c.folder / "data/", nullptr, &c.layout, &ui});
  auto browse = [&](int id, const std::string& answer) {
    ui.fileAnswers = {answer};
    qobject_cast<QAbstractButton*>(dialog.control(id))->click();
    return c.settings.fastscanFile + " " + c.settings.scannerLogfile;
  };
  const std::string logfile = c.settings.scannerLogfile;
  EXPECT_EQ(browse(kFastscanBrowse, "/x/new.fsc"), "/x/new.fsc " + logfile);
  EXPECT_EQ(browse(kLogfileBrowse, ""), "/x/new.fsc " + logfile);
  EXPECT_EQ(browse(kLogfileBrowse, "/x/new.log"), "/x/new.fsc /x/new.log");
}

TEST(ScannerDialog, ScanFillsTheTreeTheRomsBoxFiltersItAndTheLogfileHoldsIt) {
  Collection c;
  c.settings.fixName = true;  // turned off with its check, it stays off: no fix runs unasked
  ScriptedInterface ui;
  ScannerDialog dialog({&c.settings, &c.database, c.folder / "data/", nullptr, &c.layout, &ui});
  auto click = [&](int id) { qobject_cast<QAbstractButton*>(dialog.control(id))->click(); };
  click(kCheckNameBox);
  EXPECT_FALSE(c.settings.fixName);
  click(kCheckNameBox);
  std::vector<std::string> statistics;
  dialog.showStatistics = [&](const std::string& text) { statistics.push_back(text); };

  dialog.Scan(false);
  const std::string full = ShownTree(dialog);
  const size_t size = RomData("d1.bin").size();
  for (const std::string& lines :
       {std::string("alpha [folder: alpha]\nmissing rom: a2.bin"), "unneeded file: " + c.folder / "roms/alpha/junk.txt",
        std::string("beta [folder: beta]\nmissing game: beta\nmissing rom: b1.bin"),
        std::string("gamma [folder: gamma]\nmissing sample: boom.wav"), "wrong name: " + c.folder / "roms/betx",
        "delta [folder: delta]\nwrong length: d1.bin [wrong: " + std::to_string(size + 4) +
            "] [right: " + std::to_string(size) + "]"})
    EXPECT_NE(full.find(lines), std::string::npos) << lines << "\n" << full;
  EXPECT_TRUE(FileExists(c.folder / "roms/betx/b1.bin"));  // not renamed
  ASSERT_EQ(statistics.size(), 1u);
  EXPECT_EQ(statistics[0], dialog.statisticsText());
  EXPECT_EQ(statistics[0].rfind("Missing Games:          1 of 4\n", 0), 0u) << statistics[0];
  EXPECT_TRUE(FileExists(c.settings.fastscanFile));

  click(kScanRomsBox);
  const std::string withoutRoms = ShownTree(dialog);
  EXPECT_EQ(withoutRoms.find("rom:"), std::string::npos) << withoutRoms;
  EXPECT_EQ(withoutRoms.find("delta"), std::string::npos);  // only ROM lines: gone
  EXPECT_NE(withoutRoms.find("beta [folder: beta]\nmissing game: beta\n"), std::string::npos);
  c.settings.addStatistics = true;
  dialog.SaveLogfile();
  EXPECT_EQ(testing::ReadFile(c.settings.scannerLogfile), withoutRoms + "\n----------\n" + dialog.statisticsText());
  EXPECT_EQ(ui.messages.back().text, "Logfile saved successfully !");
  click(kScanRomsBox);
  EXPECT_EQ(ShownTree(dialog), full);
}

}  // namespace
}  // namespace kestrel
