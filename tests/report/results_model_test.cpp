#include "report/results_model.h"

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "platform/file_system.h"
#include "report/scanner_log.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

// "A" has only ROM findings, "B" a missing game and a missing ROM.
ResultsModel TwoGamesAndAnUnneededFile() {
  ResultsModel results;
  AddResultLine(results, "A", kTopLevel, kResultGameHeader, true, false);
  AddResultLine(results, "missing rom: a1", kChildLevel, kResultMissingRom, true, false);
  AddResultLine(results, "wrong length: a2", kChildLevel, kResultWrongLength, true, false);
  AddResultLine(results, "B", kTopLevel, kResultMissingSetHeader, true, false);
  AddResultLine(results, "missing game: B", kChildLevel, kResultMissingGame, true, false);
  AddResultLine(results, "missing rom: b1", kChildLevel, kResultMissingRom, true, false);
  AddResultLine(results, "unneeded file: x", kTopLevel, kResultUnneeded, true, true);
  return results;
}

std::string Outline(const ResultsModel& results) {
  std::string text;
  for (const ResultTreeItem& item : results.items) {
    text += item.text + (item.hasChildren ? "+" : "") + "\n";
    for (const ResultTreeItem& child : item.children) text += "  " + child.text + "\n";
  }
  return text;
}

TEST(ResultsModelTest, SwitchesHideAndRestoreLines) {
  ResultsModel results = TwoGamesAndAnUnneededFile();
  const std::string full = Outline(results);
  EXPECT_EQ(full,
            "A+\n  missing rom: a1\n  wrong length: a2\nB+\n  missing game: B\n"
            "  missing rom: b1\nunneeded file: x\n");

  SettingsRecord settings;
  settings.scanRoms = false;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), "B+\n  missing game: B\nunneeded file: x\n");
  settings.scanRoms = true;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), full);

  settings.checkLength = settings.checkUnneeded = false;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), "A+\n  missing rom: a1\nB+\n  missing game: B\n  missing rom: b1\n");

  // Unneeded lines need at least one kind of scan.
  settings.checkUnneeded = true;
  settings.scanGames = settings.scanRoms = settings.scanSamples = false;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), "");
  settings.scanSamples = true;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), "unneeded file: x\n");
}

TEST(ScannerLogTest, WritesTheShownTreeAndReplacesTheFile) {
  ResultsModel results = TwoGamesAndAnUnneededFile();
  EXPECT_EQ(RenderScannerLog(results, true, "Number Of Games:        2"),
            "A\nmissing rom: a1\nwrong length: a2\n\nB\nmissing game: B\nmissing rom: b1\n\n"
            "unneeded file: x\n\n----------\nNumber Of Games:        2");
  SettingsRecord settings;
  settings.scanRoms = false;
  RefreshResultsTree(results, settings);
  const std::string shown = "B\nmissing game: B\n\nunneeded file: x\n";
  EXPECT_EQ(RenderScannerLog(results, false, "unused"), shown);

  testing::TempFolder temp;
  const std::string path = temp / "kestrel.log";
  ScriptedInterface ui;
  EXPECT_TRUE(SaveScannerLog(path, ResultsModel{}, true, "x", &ui));  // empty tree: nothing at all
  EXPECT_FALSE(PathExists(path));
  EXPECT_TRUE(ui.messages.empty());

  testing::WriteFile(path, std::string(5000, 'z'));
  ASSERT_TRUE(SaveScannerLog(path, results, false, "", &ui));
  EXPECT_EQ(testing::ReadFile(path), shown);
  EXPECT_EQ(ListFolder(temp.path()).size(), 1u);  // no temporary file left behind
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Logfile saved successfully !");

  EXPECT_FALSE(SaveScannerLog(temp / "missing/kestrel.log", results, false, "", &ui));
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].text, "Error while saving logfile !");
}

}  // namespace
}  // namespace kestrel
