#include "report/scanner_log.h"

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "platform/file_system.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempFolder;

ResultsModel TwoGamesAndAnEntry() {
  ResultsModel results;
  AddResultLine(results, "A [folder: a]", kTopLevel, kResultGameHeader, true, false);
  AddResultLine(results, "missing rom: a1", kChildLevel, kResultMissingRom, true, false);
  AddResultLine(results, "B [folder: b]", kTopLevel, kResultGameHeader, true, false);
  AddResultLine(results, "missing sample: s", kChildLevel, kResultMissingSample, true, false);
  AddResultLine(results, "unneeded file: /r/x", kTopLevel, kResultUnneeded, true, true);
  return results;
}

TEST(ScannerLogTest, LayoutFollowsTheShownTree) {
  ResultsModel results = TwoGamesAndAnEntry();
  EXPECT_EQ(RenderScannerLog(results, false, "stats"),
            "A [folder: a]\nmissing rom: a1\n\nB [folder: b]\nmissing sample: s\n\n"
            "unneeded file: /r/x\n");
  EXPECT_EQ(RenderScannerLog(results, true, "Number Of Games:        2"),
            "A [folder: a]\nmissing rom: a1\n\nB [folder: b]\nmissing sample: s\n\n"
            "unneeded file: /r/x\n\n----------\nNumber Of Games:        2");

  SettingsRecord settings;
  settings.scanRoms = false;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(RenderScannerLog(results, false, ""),
            "B [folder: b]\nmissing sample: s\n\nunneeded file: /r/x\n");
}

TEST(ScannerLogTest, SavingReplacesTheFileAndReports) {
  TempFolder temp;
  const std::string path = temp / "kestrel.log";
  ScriptedInterface ui;

  EXPECT_TRUE(SaveScannerLog(path, ResultsModel{}, true, "x", &ui));
  EXPECT_FALSE(PathExists(path));
  EXPECT_TRUE(ui.messages.empty());

  testing::WriteFile(path, std::string(5000, 'z'));
  ResultsModel results = TwoGamesAndAnEntry();
  ASSERT_TRUE(SaveScannerLog(path, results, false, "", &ui));
  EXPECT_EQ(ReadFile(path), RenderScannerLog(results, false, ""));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Logfile saved successfully !");
  EXPECT_EQ(ui.messages[0].title, "Logfile Saved");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(ListFolder(temp.path()).size(), 1u);  // no temporary file left

  EXPECT_FALSE(SaveScannerLog(temp / "missing/kestrel.log", results, false, "", &ui));
  EXPECT_FALSE(SaveScannerLog("", results, false, "", &ui));
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[2].text, "Error while saving logfile !");
  EXPECT_EQ(ui.messages[2].title, "Logfile Error");
  EXPECT_EQ(ui.messages[2].icon, MessageIcon::kExclamation);
}

}  // namespace
}  // namespace kestrel
