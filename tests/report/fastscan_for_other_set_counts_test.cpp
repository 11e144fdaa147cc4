// A fastscan file written for more sets than the game data now hold has
// the right data CRC but flags that would land on the wrong games and
// options read from the wrong bytes: it is refused, and nothing changes.
#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "report/fastscan_file.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

TEST(FastscanForOtherSetCounts, AFileForMoreSetsIsRefusedAndChangesNothing) {
  testing::TempFolder temp;
  ScanResults written(3);
  written[0].needsScan = true;
  SettingsRecord saved;
  saved.checkCase = true;
  saved.scanMergeMode = SetLayout::kNonMerged;  // modes of code 0 read the same from any shift
  saved.scanGameTypes = ScanGameTypes::kArcadeOnly;
  ASSERT_TRUE(SaveFastscan(temp / "f.fsc", saved, 0x1234, written));
  for (size_t sets : {0, 2}) {
    ScanResults scans(sets);
    SettingsRecord settings;
    ScriptedInterface ui;
    EXPECT_FALSE(LoadFastscan(temp / "f.fsc", settings, 0x1234, scans, &ui) || settings.checkCase) << sets;
    EXPECT_EQ(ui.MessageTexts().at(0), "Error while using fastscan file !\n\nDo a 'SCAN' operation first !");
    for (const SetScan& scan : scans) EXPECT_FALSE(scan.needsScan);
  }
}

}  // namespace
}  // namespace kestrel
