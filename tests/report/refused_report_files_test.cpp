// Report files that are refused: a fastscan file cut short or holding a
// negative mode (with the one message; no name is no file, and no message),
// and a logfile the user made read-only, which is how they keep it.

#include <filesystem>

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "report/fastscan_file.h"
#include "report/results_model.h"
#include "report/scanner_log.h"
#include "report/scan_results.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

TEST(RefusedReportFilesTest, FastscanFilesCutShortOrWithNegativeModes) {
  testing::TempFolder temp;
  const std::string path = temp / "fastscan.fsc";
  ScanResults sets(3);
  ASSERT_TRUE(SaveFastscan(path, SettingsRecord{}, 0x1234, sets));
  const std::string good = testing::ReadFile(path);
  const std::string negativeMode = good.substr(0, good.size() - 4) + "\xFF\xFF\xFF\xFF";
  ScriptedInterface ui;
  for (const std::string& contents : {good.substr(0, 2), negativeMode}) {
    testing::WriteFile(path, contents);
    SettingsRecord settings;
    ASSERT_FALSE(LoadFastscan(path, settings, 0x1234, sets, &ui)) << contents.size();
    EXPECT_EQ(ui.MessageTexts().back(), "Error while using fastscan file !\n\nDo a 'SCAN' operation first !");
  }
  EXPECT_EQ(ui.messages.size(), 2u);
  SettingsRecord settings;
  EXPECT_FALSE(LoadFastscan("", settings, 0x1234, sets, &ui));
  EXPECT_EQ(ui.messages.size(), 2u);
}

TEST(RefusedReportFilesTest, AReadOnlyLogfileIsKept) {
  testing::TempFolder temp;
  const std::string path = temp / "kestrel.log";
  testing::WriteFile(path, "kept");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  ResultsModel results;
  AddResultLine(results, "unneeded file: x", kTopLevel, kResultUnneeded, true, true);
  ScriptedInterface ui;
  EXPECT_FALSE(SaveScannerLog(path, results, false, "", &ui));
  EXPECT_EQ(testing::ReadFile(path), "kept");
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Error while saving logfile !"});
}

}  // namespace
}  // namespace kestrel
