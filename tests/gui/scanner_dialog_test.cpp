#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <cstdio>

#include "app/scripted_interface.h"
#include "archive/crc32.h"
#include "gamedb/datfile_parser.h"
#include "gamedb/validate_games.h"
#include "gui/ask_window.h"
#include "gui/gui_test_helpers.h"
#include "gui/progress_window.h"
#include "gui/results_window.h"
#include "gui/scanner_controls.h"
#include "gui/scanner_dialog.h"
#include "gui/user_values.h"
#include "platform/file_system.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WhenModalOpens;
using testing::WriteFile;

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", value);
  return text;
}

std::string RomLine(const std::string& name, const std::string& contents) {
  return "  rom ( name " + name + " size " + std::to_string(contents.size()) + " crc " +
         Hex(Crc32(0, contents.data(), contents.size())) + " )\n";
}

// A small collection with one finding of several kinds: alpha lacks a ROM
// and holds an unneeded file, beta is missing (its files lie in a folder
// under a wrong name), gamma lacks its sample, delta's ROM is too long.
struct Collection {
  TempFolder folder;
  GameList rawGames;
  GameList database;
  SettingsRecord settings;
  WindowLayout layout;

  Collection() {
    const std::string dat =
        "game (\n  name alpha\n  description \"Alpha\"\n" + RomLine("a1.bin", "alpha one") +
        RomLine("a2.bin", "alpha two") + ")\n" +
        "game (\n  name beta\n  description \"Beta\"\n" + RomLine("b1.bin", "beta one") + ")\n" +
        "game (\n  name gamma\n  description \"Gamma\"\n  sample boom.wav\n" +
        RomLine("g1.bin", "gamma one") + ")\n" +
        "game (\n  name delta\n  description \"Delta\"\n" + RomLine("d1.bin", "delta one") + ")\n";
    WriteFile(folder / "games.dat", dat);
    WriteFile(folder / "roms/alpha/a1.bin", "alpha one");
    WriteFile(folder / "roms/alpha/junk.txt", "junk");
    WriteFile(folder / "roms/betx/b1.bin", "beta one");
    WriteFile(folder / "roms/gamma/g1.bin", "gamma one");
    WriteFile(folder / "roms/delta/d1.bin", "delta one and more");
    WriteFile(folder / "samples/other/x.wav", "x");
    auto progress = OpenProgressDialog(nullptr, "");
    EXPECT_TRUE(ParseDatfile(rawGames, folder / "games.dat", *progress, false));
    EXPECT_TRUE(ValidateGames(rawGames, database, *progress, 0));
    for (GameSet& game : database) game.selected = true;

    settings.romPaths = {PathEntry{folder / "roms/", true, -1, 0, 0}};
    settings.samplePaths = {PathEntry{folder / "samples/", true, -1, 0, 0}};
    settings.tempFolder = folder / "temp/";
    settings.backupFolder = folder / "backup/";
    settings.pathWarnings = false;
    settings.fastscanFile = folder / "fastscan.fsc";
    settings.scannerLogfile = folder / "kestrel.log";
  }

  ScannerDialogContext Context(UserInterface* ui) {
    return {&settings, &database, folder / "data/", nullptr, &layout, ui};
  }
};

QAbstractButton* Box(ScannerDialog& dialog, int id) {
  return qobject_cast<QAbstractButton*>(dialog.control(id));
}

Qt::CheckState StateOf(ScannerDialog& dialog, int id) {
  return qobject_cast<QCheckBox*>(dialog.control(id))->checkState();
}

// What the results window shows: each top-level item and its children, the
// children indented, in the logfile's layout.
std::string ShownTree(ScannerDialog& dialog) {
  dialog.resultsWindow()->Follow();
  const QAbstractItemModel* model = dialog.resultsWindow()->tree()->model();
  std::string shown;
  for (int top = 0; top < model->rowCount(); ++top) {
    const QModelIndex header = model->index(top, 0);
    if (top > 0) shown += "\n";
    shown += header.data().toString().toStdString() + "\n";
    for (int child = 0; child < model->rowCount(header); ++child)
      shown += model->index(child, 0, header).data().toString().toStdString() + "\n";
  }
  return shown;
}

TEST(ScannerControls, FixBoxesFollowTheirChecksBothWays) {
  Collection c;
  SettingsRecord& s = c.settings;
  s.checkCase = false;
  s.fixCase = true;  // stored on, but its check is off
  s.checkMissing = true;
  s.fixMissing = true;
  s.fixMissingAdvanced = true;
  s.checkUnneeded = true;
  s.advancedUnneeded = true;
  s.showMissingZeroCrcs = true;
  s.showAllZeroCrcs = false;
  ScriptedInterface ui;
  ScannerDialog dialog(c.Context(&ui));

  EXPECT_EQ(StateOf(dialog, kFixCaseBox), Qt::Unchecked);
  EXPECT_FALSE(Box(dialog, kFixCaseBox)->isEnabled());
  EXPECT_EQ(StateOf(dialog, kFixMissingBox), Qt::PartiallyChecked);  // advanced wins
  EXPECT_EQ(StateOf(dialog, kAdvancedUnneededBox), Qt::Checked);
  EXPECT_EQ(Box(dialog, kShowZeroCrcsBox)->text(), "Show Missing 0-CRCs");

  // Ticking a check enables its fix; unticking clears and stores it off.
  Box(dialog, kCheckCaseBox)->click();
  EXPECT_TRUE(s.checkCase);
  EXPECT_TRUE(Box(dialog, kFixCaseBox)->isEnabled());
  EXPECT_EQ(StateOf(dialog, kFixCaseBox), Qt::Checked);
  Box(dialog, kCheckCaseBox)->click();
  EXPECT_FALSE(s.fixCase);
  EXPECT_FALSE(Box(dialog, kFixCaseBox)->isEnabled());
  Box(dialog, kCheckCaseBox)->click();
  EXPECT_EQ(StateOf(dialog, kFixCaseBox), Qt::Unchecked);

  // Unneeded governs its fix and Advanced Unneeded; Missing its fix and
  // Allow Double-Names.
  Box(dialog, kCheckUnneededBox)->click();
  EXPECT_FALSE(s.advancedUnneeded);
  EXPECT_FALSE(Box(dialog, kAdvancedUnneededBox)->isEnabled());
  Box(dialog, kCheckMissingBox)->click();
  EXPECT_FALSE(s.fixMissing || s.fixMissingAdvanced || s.allowDoubleNames);
  EXPECT_FALSE(Box(dialog, kAllowDoubleNamesBox)->isEnabled());
  EXPECT_FALSE(Box(dialog, kFixMissingBox)->isEnabled());

  // The three-state fix box goes off, checked, grey.
  Box(dialog, kCheckMissingBox)->click();
  Box(dialog, kFixMissingBox)->click();
  EXPECT_TRUE(s.fixMissing);
  EXPECT_FALSE(s.fixMissingAdvanced);
  Box(dialog, kFixMissingBox)->click();
  EXPECT_FALSE(s.fixMissing);
  EXPECT_TRUE(s.fixMissingAdvanced);
  Box(dialog, kFixMissingBox)->click();
  EXPECT_FALSE(s.fixMissing || s.fixMissingAdvanced);

  // The 0-CRC box names its state.
  Box(dialog, kShowZeroCrcsBox)->click();
  EXPECT_TRUE(s.showAllZeroCrcs);
  EXPECT_EQ(Box(dialog, kShowZeroCrcsBox)->text(), "Show All 0-CRCs");
  Box(dialog, kShowZeroCrcsBox)->click();
  EXPECT_FALSE(s.showAllZeroCrcs || s.showMissingZeroCrcs);
  EXPECT_EQ(Box(dialog, kShowZeroCrcsBox)->text(), "Show Missing 0-CRCs");
}

TEST(ScannerDialog, ScanFillsTheTreeAndTheRomsBoxHidesAndBringsBackRomLines) {
  Collection c;
  ScriptedInterface ui;
  ScannerDialog dialog(c.Context(&ui));
  std::vector<std::string> statistics;
  dialog.showStatistics = [&](const std::string& text) { statistics.push_back(text); };

  dialog.Scan(false);
  const std::string full = ShownTree(dialog);
  EXPECT_NE(full.find("Alpha [folder: alpha]\nmissing rom: a2.bin"), std::string::npos) << full;
  EXPECT_NE(full.find("unneeded file: " + c.folder / "roms/alpha/junk.txt"), std::string::npos)
      << full;
  EXPECT_NE(full.find("Beta [folder: beta]\nmissing game: Beta\nmissing rom: b1.bin"),
            std::string::npos) << full;
  EXPECT_NE(full.find("Gamma [folder: gamma]\nmissing sample: boom.wav"), std::string::npos);
  EXPECT_NE(full.find("Delta [folder: delta]\nwrong length: d1.bin [wrong: 18] [right: 9]"),
            std::string::npos) << full;
  EXPECT_NE(full.find("wrong name: " + c.folder / "roms/betx"), std::string::npos) << full;
  ASSERT_EQ(statistics.size(), 1u);
  EXPECT_EQ(statistics[0], dialog.statisticsText());
  EXPECT_EQ(statistics[0].rfind("Missing Games:          1 of 4\n", 0), 0u) << statistics[0];
  EXPECT_TRUE(FileExists(c.settings.fastscanFile));

  Box(dialog, kScanRomsBox)->click();
  EXPECT_FALSE(c.settings.scanRoms);
  const std::string withoutRoms = ShownTree(dialog);
  EXPECT_EQ(withoutRoms.find("rom:"), std::string::npos) << withoutRoms;
  EXPECT_EQ(withoutRoms.find("wrong length"), std::string::npos);
  EXPECT_EQ(withoutRoms.find("Delta"), std::string::npos);  // only ROM lines: gone
  EXPECT_NE(withoutRoms.find("Alpha [folder: alpha]\nunneeded file: "), std::string::npos);
  EXPECT_NE(withoutRoms.find("Beta [folder: beta]\nmissing game: Beta\n"), std::string::npos);

  // Save Logfile writes what the tree shows.
  c.settings.addStatistics = true;
  dialog.SaveLogfile();
  EXPECT_EQ(ReadFile(c.settings.scannerLogfile),
            withoutRoms + "\n----------\n" + dialog.statisticsText());
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.back().text, "Logfile saved successfully !");

  Box(dialog, kScanRomsBox)->click();
  EXPECT_EQ(ShownTree(dialog), full);
}

TEST(ScannerDialog, RenameQuestionIsAnsweredInTheAskWindow) {
  Collection c;
  c.settings.fixName = true;
  c.settings.askBeforeFixing = true;
  ScannerDialog dialog(c.Context(nullptr));  // the real windows
  dialog.showStatistics = [](const std::string&) {};
  std::string title;
  std::string question;
  WhenModalOpens([&](QWidget* modal) {
    auto* ask = qobject_cast<AskWindow*>(modal);
    ASSERT_NE(ask, nullptr);
    title = ask->windowTitle().toStdString();
    question = ask->message().toStdString();
    ask->button(kAnswerYes)->click();
  });
  dialog.Scan(false);
  EXPECT_EQ(title, "Fix Wrong Named Game");
  EXPECT_EQ(question, "Do you want to rename:\n'betx'\nin\n'beta'?");
  EXPECT_TRUE(FileExists(c.folder / "roms/beta/b1.bin"));
  EXPECT_NE(ShownTree(dialog).find("[wrong: betx] [right: beta] [fixed]"), std::string::npos);
}

// Presses Cancel in the progress window at the scan's first look at the
// interface, and agrees to stop.
void CancelAtFirstStep() {
  QTimer::singleShot(0, [] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* progress = qobject_cast<ProgressWindow*>(window); progress && progress->isVisible()) {
        progress->confirmCancel = [] { return true; };
        progress->cancelButton()->click();
      }
    }
  });
}

TEST(ScannerDialog, CancelEndsTheScanWithStatisticsButNoFastscanFile) {
  Collection c;
  ScannerDialog dialog(c.Context(nullptr));
  int statistics = 0;
  dialog.showStatistics = [&](const std::string&) { ++statistics; };
  CancelAtFirstStep();
  dialog.Scan(false);
  EXPECT_FALSE(dialog.scanning());
  EXPECT_EQ(statistics, 1);
  EXPECT_FALSE(FileExists(c.settings.fastscanFile));
  // Only the lines of the paths' top level came before the first game.
  EXPECT_EQ(ShownTree(dialog).find("[folder: "), std::string::npos);
  EXPECT_TRUE(dialog.isEnabled());
}

TEST(ScannerDialog, ClosingTheResultsWindowStopsTheScanAndClosesTheDialog) {
  Collection c;
  c.layout.scanDlgX = 40;
  c.layout.scanDlgY = 30;
  ScannerDialog dialog(c.Context(nullptr));
  int statistics = 0;
  dialog.showStatistics = [&](const std::string&) { ++statistics; };
  dialog.show();
  ResultsWindow* results = dialog.resultsWindow();
  ASSERT_TRUE(results->isVisible());
  results->move(300, 200);
  EXPECT_EQ(c.layout.outputLeft, 300);

  // No keeps everything.
  results->confirmStop = [] { return false; };
  results->close();
  EXPECT_TRUE(results->isVisible());
  EXPECT_TRUE(dialog.isVisible());

  bool asked = false;
  results->confirmStop = [&] { asked = true; return true; };
  QTimer::singleShot(0, [&] { results->close(); });
  dialog.Scan(false);
  EXPECT_TRUE(asked);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(results->isVisible());
  EXPECT_EQ(statistics, 0);
  EXPECT_FALSE(FileExists(c.settings.fastscanFile));
  EXPECT_EQ(c.layout.scanDlgX, dialog.pos().x());
  EXPECT_EQ(c.layout.outputLeft, 300);
}

}  // namespace
}  // namespace kestrel
