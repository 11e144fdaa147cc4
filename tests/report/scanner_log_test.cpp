#include "report/scanner_log.h"

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "platform/file_system.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

TEST(ScannerLogTest, WritesTheShownTreeAndReplacesTheFile) {
  ResultsModel results;
  AddResultLine(results, "A", kTopLevel, kResultGameHeader, true, false);
  AddResultLine(results, "missing rom: a1", kChildLevel, kResultMissingRom, true, false);
  AddResultLine(results, "B", kTopLevel, kResultGameHeader, true, false);
  AddResultLine(results, "missing sample: s", kChildLevel, kResultMissingSample, true, false);
  AddResultLine(results, "unneeded file: x", kTopLevel, kResultUnneeded, true, true);
  EXPECT_EQ(RenderScannerLog(results, true, "Number Of Games:        2"),
            "A\nmissing rom: a1\n\nB\nmissing sample: s\n\nunneeded file: x\n"
            "\n----------\nNumber Of Games:        2");
  SettingsRecord settings;
  settings.scanRoms = false;
  RefreshResultsTree(results, settings);
  const std::string shown = "B\nmissing sample: s\n\nunneeded file: x\n";
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
