#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTreeView>

#include "app/scripted_interface.h"
#include "gui/ask_window.h"
#include "gui/gui_test_helpers.h"
#include "gui/progress_window.h"
#include "gui/results_window.h"
#include "gui/scanner_controls.h"
#include "gui/scanner_dialog.h"
#include "gui/tool_fixture.h"
#include "gui/user_values.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::RomData;
using testing::TempFolder;
using testing::WhenModalOpens;
using testing::WriteFile;

// A small collection with one finding of several kinds: alpha lacks a ROM
// and holds an unneeded file, beta is missing (its files lie in a folder
// under a wrong name), gamma lacks its sample, delta's ROM is too long.
struct Collection {
  TempFolder folder;
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

// A fix goes grey and off with its check, so that no fix runs unasked.
TEST(ScannerControls, FixBoxesFollowTheirChecksBothWays) {
  Collection c;
  SettingsRecord& s = c.settings;
  s.checkCase = false;
  s.fixCase = true;  // stored on, but its check is off
  s.checkMissing = s.fixMissing = s.fixMissingAdvanced = true;
  s.checkUnneeded = s.advancedUnneeded = true;
  s.showMissingZeroCrcs = true;
  s.showAllZeroCrcs = false;
  ScriptedInterface ui;
  ScannerDialog dialog(c.Context(&ui));

  EXPECT_EQ(StateOf(dialog, kFixCaseBox), Qt::Unchecked);
  EXPECT_FALSE(Box(dialog, kFixCaseBox)->isEnabled());
  EXPECT_EQ(StateOf(dialog, kFixMissingBox), Qt::PartiallyChecked);  // advanced wins

  Box(dialog, kCheckCaseBox)->click();
  EXPECT_TRUE(s.checkCase);
  EXPECT_TRUE(Box(dialog, kFixCaseBox)->isEnabled());
  Box(dialog, kCheckCaseBox)->click();
  EXPECT_FALSE(s.fixCase);
  EXPECT_FALSE(Box(dialog, kFixCaseBox)->isEnabled());

  // Unneeded governs its fix and Advanced Unneeded; Missing its fix and
  // Allow Double-Names.
  Box(dialog, kCheckUnneededBox)->click();
  EXPECT_FALSE(s.advancedUnneeded);
  EXPECT_FALSE(Box(dialog, kAdvancedUnneededBox)->isEnabled());
  Box(dialog, kCheckMissingBox)->click();
  EXPECT_FALSE(s.fixMissing || s.fixMissingAdvanced || s.allowDoubleNames);
  EXPECT_FALSE(Box(dialog, kAllowDoubleNamesBox)->isEnabled());

  // The three-state boxes go off, checked, grey.
  Box(dialog, kCheckMissingBox)->click();
  Box(dialog, kFixMissingBox)->click();
  EXPECT_TRUE(s.fixMissing && !s.fixMissingAdvanced);
  Box(dialog, kFixMissingBox)->click();
  EXPECT_TRUE(!s.fixMissing && s.fixMissingAdvanced);
  Box(dialog, kFixMissingBox)->click();
  EXPECT_FALSE(s.fixMissing || s.fixMissingAdvanced);
  Box(dialog, kShowZeroCrcsBox)->click();
  EXPECT_TRUE(s.showAllZeroCrcs);
  Box(dialog, kShowZeroCrcsBox)->click();
  EXPECT_FALSE(s.showAllZeroCrcs || s.showMissingZeroCrcs);
}

TEST(ScannerDialog, ScanFillsTheTreeAndTheRomsBoxHidesAndBringsBackRomLines) {
  Collection c;
  ScriptedInterface ui;
  ScannerDialog dialog(c.Context(&ui));
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
  ASSERT_EQ(statistics.size(), 1u);
  EXPECT_EQ(statistics[0], dialog.statisticsText());
  EXPECT_EQ(statistics[0].rfind("Missing Games:          1 of 4\n", 0), 0u) << statistics[0];
  EXPECT_TRUE(FileExists(c.settings.fastscanFile));

  Box(dialog, kScanRomsBox)->click();
  EXPECT_FALSE(c.settings.scanRoms);
  const std::string withoutRoms = ShownTree(dialog);
  EXPECT_EQ(withoutRoms.find("rom:"), std::string::npos) << withoutRoms;
  EXPECT_EQ(withoutRoms.find("delta"), std::string::npos);  // only ROM lines: gone
  EXPECT_NE(withoutRoms.find("alpha [folder: alpha]\nunneeded file: "), std::string::npos);
  EXPECT_NE(withoutRoms.find("beta [folder: beta]\nmissing game: beta\n"), std::string::npos);

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
  std::string title, question;
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
}

TEST(ScannerDialog, CancelEndsTheScanWithStatisticsButNoFastscanFile) {
  Collection c;
  ScannerDialog dialog(c.Context(nullptr));
  int statistics = 0;
  dialog.showStatistics = [&](const std::string&) { ++statistics; };
  // Cancel, agreed to, at the scan's first look at the interface.
  QTimer::singleShot(0, [] {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (auto* progress = qobject_cast<ProgressWindow*>(window); progress && progress->isVisible()) {
        progress->confirmCancel = [] { return true; };
        progress->cancelButton()->click();
      }
  });
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
