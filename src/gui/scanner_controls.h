// The scanner dialog's controls as data: their identifiers, captions and
// tool tips, and the rules that tie the boxes to the settings record. Free
// of Qt, so the dialog is only the drawing of this table.
#pragma once

#include <vector>

namespace kestrel {

struct SettingsRecord;

enum ScannerControl {
  kScanGamesBox = 1011, kScanRomsBox = 1039, kScanSamplesBox = 1037,
  kNoMergedRadio = 1074, kSplitRadio = 1075, kMergedRadio = 1076, kFullNonMergedRadio = 1093,
  kArcadeOnlyRadio = 1077, kNeoGeoOnlyRadio = 1079, kBothTypesRadio = 1078,
  kCheckMissingBox = 1084, kFixMissingBox = 1042,
  kCheckCaseBox = 1015, kFixCaseBox = 1033,
  kCheckUnneededBox = 1026, kFixUnneededBox = 1035,
  kCheckNameBox = 1025, kFixNameBox = 1031,
  kCheckLengthBox = 1016, kFixLengthBox = 1032,
  kCheckChecksumBox = 1034,
  kAllowDoubleNamesBox = 1027, kAltSamplesBox = 1030, kAdvancedUnneededBox = 1036,
  kZeroCrcCreationBox = 1029, kShowZeroCrcsBox = 1041, kAskBeforeFixingBox = 1091,
  kFastscanEdit = 1018, kFastscanBrowse = 1083, kLogfileEdit = 1019, kLogfileBrowse = 1085,
  kAddStatisticsBox = 1092, kCheckSha1Box = 1094, kScanButton = 1082, kFastScanButton = 1038, kSaveLogButton = 1040,
};

inline constexpr char kScannerDialogCaption[] = "Scanning Games, ROMs & Samples";

struct ScannerControlText {
  int id = 0;
  const char* caption = "";  // "" for the file edits, whose label stands beside them
  const char* toolTip = "";  // "" when the control has none
};

// Every control of the dialog, in the order it is laid out.
const std::vector<ScannerControlText>& ScannerControlTexts();
// The entry of `id`; an entry with id 0 and empty texts for an unknown id.
const ScannerControlText& ScannerText(int id);

// The check boxes a Check / Fix row or an option group holds, for layout.
struct CheckFixRow {
  int check = 0;
  int fix = 0;  // 0: the check has no fix
};
const std::vector<CheckFixRow>& CheckFixRows();

// Box states: 0 unchecked, 1 checked, 2 grey (the three-state boxes only).
inline constexpr int kBoxGrey = 2;

bool IsThreeStateBox(int id);
// The state a box shows for the settings: a box that depends on a check
// shows checked only while that check is on too.
int BoxStateFor(const SettingsRecord& settings, int id);
// Whether a box may be clicked: the fix boxes, "Allow Double-Names" and
// "Advanced Unneeded" only while the check that governs them is on.
bool IsBoxEnabledFor(const SettingsRecord& settings, int id);
// Stores a clicked box's new state. Unchecking a check also stores every
// box it governs as off.
void StoreBoxState(SettingsRecord& settings, int id, int state);
// Stores as off every box whose governing check is off, as the dialog
// shows it: a profile or a fastscan file may bring a fix without its
// check, which the scan would otherwise run unseen.
void ClearBoxesWithoutCheck(SettingsRecord& settings);
// The caption of the 0-CRC box for its state.
const char* ZeroCrcCaption(int state);

// The radio buttons: whether `id` is one, and selecting it.
bool IsRadioButton(int id);
bool IsRadioSelectedFor(const SettingsRecord& settings, int id);
void StoreRadio(SettingsRecord& settings, int id);

// Whether a change of `id` changes which result lines are shown (the scan
// boxes, the checks and the 0-CRC box); the others act at the next scan.
bool ChangesShownResults(int id);

}  // namespace kestrel
