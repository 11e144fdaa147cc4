// The scanner dialog's rules for its boxes, without the dialog: a fix (or
// an option) never stays on without the check that governs it.
#include <gtest/gtest.h>

#include "gui/scanner_controls.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

struct Governed {
  int check;
  int box;
  bool SettingsRecord::*setting;
};

// Every box a check governs, with the setting it stands for.
const Governed kGoverned[] = {
    {kCheckMissingBox, kFixMissingBox, &SettingsRecord::fixMissing},
    {kCheckMissingBox, kFixMissingBox, &SettingsRecord::fixMissingAdvanced},
    {kCheckMissingBox, kAllowDoubleNamesBox, &SettingsRecord::allowDoubleNames},
    {kCheckCaseBox, kFixCaseBox, &SettingsRecord::fixCase},
    {kCheckUnneededBox, kFixUnneededBox, &SettingsRecord::fixUnneeded},
    {kCheckUnneededBox, kAdvancedUnneededBox, &SettingsRecord::advancedUnneeded},
    {kCheckNameBox, kFixNameBox, &SettingsRecord::fixName},
    {kCheckLengthBox, kFixLengthBox, &SettingsRecord::fixLength},
};

// Every check and every box it governs on.
SettingsRecord AllOn() {
  SettingsRecord settings;
  for (const Governed& entry : kGoverned) {
    StoreBoxState(settings, entry.check, 1);
    settings.*(entry.setting) = true;
  }
  return settings;
}

TEST(ScannerControls, UntickingACheckTurnsOffWhatItGovernsAndTickingItAgainKeepsThemOff) {
  for (const Governed& entry : kGoverned) {
    SettingsRecord settings = AllOn();
    const int shownOn = entry.setting == &SettingsRecord::fixMissingAdvanced ? kBoxGrey : 1;
    if (entry.setting == &SettingsRecord::fixMissing) settings.fixMissingAdvanced = false;
    EXPECT_EQ(BoxStateFor(settings, entry.box), shownOn) << entry.box;
    EXPECT_TRUE(IsBoxEnabledFor(settings, entry.box));

    StoreBoxState(settings, entry.check, 0);
    EXPECT_FALSE(settings.*(entry.setting)) << entry.box;
    EXPECT_EQ(BoxStateFor(settings, entry.box), 0);
    EXPECT_FALSE(IsBoxEnabledFor(settings, entry.box));
    StoreBoxState(settings, entry.check, 1);
    EXPECT_FALSE(settings.*(entry.setting)) << entry.box;
    EXPECT_TRUE(IsBoxEnabledFor(settings, entry.box));
    // The other checks' boxes are left alone.
    for (const Governed& other : kGoverned) {
      if (other.check != entry.check && other.setting != &SettingsRecord::fixMissingAdvanced) {
        EXPECT_TRUE(settings.*(other.setting)) << entry.box << " cleared " << other.box;
      }
    }
  }
}

// A profile or fastscan file with fixes but not their checks: the dialog
// drops the fixes it shows off, and keeps those whose check is on.
TEST(ScannerControls, FixesArrivingWithoutTheirCheckAreDropped) {
  SettingsRecord settings = AllOn();
  settings.checkCase = settings.checkMissing = false;
  ClearBoxesWithoutCheck(settings);
  EXPECT_FALSE(settings.fixCase);
  EXPECT_FALSE(settings.fixMissing || settings.fixMissingAdvanced || settings.allowDoubleNames);
  EXPECT_TRUE(settings.fixName && settings.fixLength && settings.fixUnneeded && settings.advancedUnneeded);
  EXPECT_TRUE(settings.checkName && !settings.checkCase);
}

}  // namespace
}  // namespace kestrel
