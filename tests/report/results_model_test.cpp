// The texts the scan's results become: the tree shown and the logfile.
#include "report/results_model.h"

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "platform/file_system.h"
#include "report/scanner_log.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::WriteFile;

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

// The log holds the tree as the switches show it.
TEST(ScannerLogTest, WritesTheShownTreeAndReplacesTheFile) {
  ResultsModel results = TwoGamesAndAnUnneededFile();
  const std::string full =
      "A\nmissing rom: a1\nwrong length: a2\n\nB\nmissing game: B\nmissing rom: b1\n\nunneeded file: x\n";
  EXPECT_EQ(RenderScannerLog(results, true, "Number Of Games:        2"),
            full + "\n----------\nNumber Of Games:        2");
  SettingsRecord settings;
  settings.scanGames = settings.scanSamples = settings.checkLength = false;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(RenderScannerLog(results, false, ""), "A\nmissing rom: a1\n\nB\nmissing rom: b1\n\nunneeded file: x\n");
  settings.checkUnneeded = false;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(RenderScannerLog(results, false, ""), "A\nmissing rom: a1\n\nB\nmissing rom: b1\n");
  settings.checkUnneeded = true;
  settings.scanRoms = false;  // unneeded lines need at least one kind of scan
  RefreshResultsTree(results, settings);
  EXPECT_EQ(RenderScannerLog(results, false, ""), "");
  settings.scanGames = settings.scanRoms = settings.checkLength = true;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(RenderScannerLog(results, false, ""), full);
  settings.scanRoms = false;
  RefreshResultsTree(results, settings);
  const std::string shown = "B\nmissing game: B\n\nunneeded file: x\n";

  testing::TempFolder temp;
  const std::string path = temp / "kestrel.log";
  ScriptedInterface ui;
  EXPECT_TRUE(SaveScannerLog(path, ResultsModel{}, true, "x", &ui));  // empty tree: nothing at all
  EXPECT_FALSE(PathExists(path));
  EXPECT_TRUE(ui.messages.empty());

  WriteFile(path, std::string(5000, 'z'));
  ASSERT_TRUE(SaveScannerLog(path, results, false, "unused", &ui));
  EXPECT_EQ(testing::ReadFile(path), shown);
  EXPECT_EQ(ListFolder(temp.path()).size(), 1u);  // no temporary file left behind
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Logfile saved successfully !");
  EXPECT_FALSE(SaveScannerLog(temp / "missing/kestrel.log", results, false, "", &ui));
  EXPECT_EQ(ui.messages.back().text, "Error while saving logfile !");

  // Missing samples follow the samples switch, whatever the ROMs switch says.
  ResultsModel samples;
  AddResultLine(samples, "A", kTopLevel, kResultGameHeader, true, false);
  AddResultLine(samples, "missing sample: s1", kChildLevel, kResultMissingSample, true, false);
  settings.scanRoms = true;
  RefreshResultsTree(samples, settings);
  EXPECT_EQ(RenderScannerLog(samples, false, ""), "");
  // Each kind answers to its own part and check; with no part scanned
  // nothing is unneeded either.
  settings.checkName = settings.checkCase = true;
  EXPECT_TRUE(IsResultKindVisible(kResultRomName, settings) && IsResultKindVisible(kResultRomCase, settings));
  settings.checkName = settings.scanSamples = false;
  EXPECT_FALSE(IsResultKindVisible(kResultRomName, settings) || IsResultKindVisible(kResultSampleCase, settings));
  EXPECT_TRUE(IsResultKindVisible(kResultUnneeded, settings));
  settings.scanRoms = settings.scanGames = false;
  EXPECT_FALSE(IsResultKindVisible(kResultUnneeded, settings));
}

}  // namespace
}  // namespace kestrel
