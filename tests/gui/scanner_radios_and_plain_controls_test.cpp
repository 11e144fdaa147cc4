// The scanner dialog's radios, both groups, each storing its own mode; and
// its buttons and file edits, which hold no setting: a click on one stores
// nothing and shows no box state.
#include <gtest/gtest.h>

#include "gui/scanner_controls.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

// The state of every control, in the dialog's order.
std::string States(const SettingsRecord& settings) {
  std::string states;
  for (const ScannerControlText& control : ScannerControlTexts())
    states += IsRadioButton(control.id) ? (IsRadioSelectedFor(settings, control.id) ? 'o' : '-')
                                        : static_cast<char>('0' + BoxStateFor(settings, control.id));
  return states;
}

TEST(ScannerRadiosAndPlainControls, EachRadioStoresItsModeAndPlainControlsStoreNothing) {
  SettingsRecord settings;
  const std::string boxes = "1000101010111011100000000";  // the defaults, never touched here
  const std::pair<int, const char*> clicks[] = {
      {kNoMergedRadio, "111o----o"}, {kSplitRadio, "111-o---o"},      {kMergedRadio, "111--o--o"},
      {kArcadeOnlyRadio, "111--oo--"}, {kNeoGeoOnlyRadio, "111--o-o-"}, {kBothTypesRadio, "111--o--o"}};
  for (const auto& [radio, states] : clicks) {
    StoreRadio(settings, radio);
    EXPECT_EQ(States(settings), states + boxes) << radio;
  }
  EXPECT_EQ(settings.scanMergeMode, SetLayout::kMerged);
  EXPECT_EQ(settings.scanGameTypes, ScanGameTypes::kBoth);
  for (int plain : {kFastscanEdit, kFastscanBrowse, kLogfileEdit, kLogfileBrowse, kScanButton, kSaveLogButton}) {
    EXPECT_FALSE(IsRadioButton(plain));
    StoreBoxState(settings, plain, 0);
    StoreBoxState(settings, plain, 1);
    EXPECT_EQ(States(settings), clicks[5].second + boxes) << plain;
  }
}

}  // namespace
}  // namespace kestrel
