// A fastscan file cut short or holding a negative mode is refused with the
// one message; no name is no file at all, and no message.

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "report/fastscan_file.h"
#include "report/scan_results.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

TEST(FastscanDamageTest, ShortFilesAndNegativeModesAreRefused) {
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

}  // namespace
}  // namespace kestrel
