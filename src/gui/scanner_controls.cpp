#include "gui/scanner_controls.h"

#include "settings/scan_switches.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

using Flag = bool SettingsRecord::*;

struct BoxBinding {
  int id;
  Flag setting;
};

// The two-state boxes and the setting each stands for.
const std::vector<BoxBinding>& Bindings() {
  static const std::vector<BoxBinding> bindings = {
      {kScanGamesBox, &SettingsRecord::scanGames},
      {kScanRomsBox, &SettingsRecord::scanRoms},
      {kScanSamplesBox, &SettingsRecord::scanSamples},
      {kCheckMissingBox, &SettingsRecord::checkMissing},
      {kCheckCaseBox, &SettingsRecord::checkCase},
      {kFixCaseBox, &SettingsRecord::fixCase},
      {kCheckUnneededBox, &SettingsRecord::checkUnneeded},
      {kFixUnneededBox, &SettingsRecord::fixUnneeded},
      {kCheckNameBox, &SettingsRecord::checkName},
      {kFixNameBox, &SettingsRecord::fixName},
      {kCheckLengthBox, &SettingsRecord::checkLength},
      {kFixLengthBox, &SettingsRecord::fixLength},
      {kCheckChecksumBox, &SettingsRecord::checkChecksum},
      {kAllowDoubleNamesBox, &SettingsRecord::allowDoubleNames},
      {kAltSamplesBox, &SettingsRecord::altSamplesSupport},
      {kAdvancedUnneededBox, &SettingsRecord::advancedUnneeded},
      {kZeroCrcCreationBox, &SettingsRecord::zeroCrcCreation},
      {kAskBeforeFixingBox, &SettingsRecord::askBeforeFixing},
      {kAddStatisticsBox, &SettingsRecord::addStatistics},
      {kCheckSha1Box, &SettingsRecord::checkSha1},
  };
  return bindings;
}

const BoxBinding* FindBinding(int id) {
  for (const BoxBinding& binding : Bindings())
    if (binding.id == id) return &binding;
  return nullptr;
}

const BoxBinding* FindBindingOf(Flag setting) {
  for (const BoxBinding& binding : Bindings())
    if (binding.setting == setting) return &binding;
  return nullptr;
}

// The box of the check the switch table says this box works with.
int GoverningCheck(int id) {
  if (id == kFixMissingBox) return kCheckMissingBox;
  const BoxBinding* binding = FindBinding(id);
  if (binding == nullptr) return 0;
  size_t index = ScanSwitchIndex(binding->setting);
  if (index == kScanSwitchCount || ScanSwitches()[index].check == nullptr) return 0;
  const BoxBinding* check = FindBindingOf(ScanSwitches()[index].check);
  return check != nullptr ? check->id : 0;
}

bool CheckIsOn(const SettingsRecord& settings, int checkId) {
  const BoxBinding* binding = FindBinding(checkId);
  return binding != nullptr && settings.*(binding->setting);
}

template <class Mode>
struct RadioBinding {
  int id;
  Mode SettingsRecord::*setting;
  Mode value;
};

constexpr RadioBinding<SetLayout> kLayoutRadios[] = {
    {kNoMergedRadio, &SettingsRecord::scanMergeMode, SetLayout::kNonMerged},
    {kSplitRadio, &SettingsRecord::scanMergeMode, SetLayout::kSplit},
    {kMergedRadio, &SettingsRecord::scanMergeMode, SetLayout::kMerged},
    {kFullNonMergedRadio, &SettingsRecord::scanMergeMode, SetLayout::kFullNonMerged},
};

constexpr RadioBinding<ScanGameTypes> kGameTypeRadios[] = {
    {kArcadeOnlyRadio, &SettingsRecord::scanGameTypes, ScanGameTypes::kArcadeOnly},
    {kNeoGeoOnlyRadio, &SettingsRecord::scanGameTypes, ScanGameTypes::kNeoGeoOnly},
    {kBothTypesRadio, &SettingsRecord::scanGameTypes, ScanGameTypes::kBoth},
};

// Calls `act` with the binding of radio `id`; false when `id` is no radio.
template <class Act>
bool WithRadio(int id, Act act) {
  auto find = [&](const auto& radios) {
    for (const auto& radio : radios) {
      if (radio.id != id) continue;
      act(radio);
      return true;
    }
    return false;
  };
  return find(kLayoutRadios) || find(kGameTypeRadios);
}

}  // namespace

const std::vector<ScannerControlText>& ScannerControlTexts() {
  static const std::vector<ScannerControlText> texts = {
      {kScanGamesBox, "&Games", "Enables scanning of gamesets."},
      {kScanRomsBox, "&Roms", "Enables scanning of ROMs."},
      {kScanSamplesBox, "Sam&ples", "Enables scanning of samples."},
      {kNoMergedRadio, "&No Merged Sets", "Enable this if you're using not-merged sets."},
      {kSplitRadio, "Spli&t Sets", "Enable this if you're using split sets."},
      {kMergedRadio, "&Merged Sets", "Enable this if you're using merged sets."},
      {kFullNonMergedRadio, "F&ull Non-Merged Sets",
       "Enable this if every set also holds its BIOS and device ROMs."},
      {kArcadeOnlyRadio, "Arcade Onl&y", "NeoGeo files will be ignored."},
      {kNeoGeoOnlyRadio, "Ne&oGeo Only", "Arcade sets will be ignored."},
      {kBothTypesRadio, "&Both", "Scans NeoGeo and arcade sets."},
      {kCheckMissingBox, "M&issing", "Checks for missing things."},
      {kFixMissingBox, "", "Adds files from 'add paths'. Greying enables 'adv. fix missing'."},
      {kCheckCaseBox, "&Case", "Checks the correct filename-cases."},
      {kFixCaseBox, "", "Fixes wrong filename-cases"},
      {kCheckUnneededBox, "Unnee&ded", ""},
      {kFixUnneededBox, "", ""},
      {kCheckNameBox, "Nam&e", "Checks for correct ROM names."},
      {kFixNameBox, "", "Fixes wrong ROM names."},
      {kCheckLengthBox, "Lengt&h", "Checks for correct ROM sizes."},
      {kFixLengthBox, "", "Fixes wrong sized ROMs."},
      {kCheckChecksumBox, "Chec&ksum", "Checks for correct ROM checksums."},
      {kAllowDoubleNamesBox, "Allo&w Double-Names", "Allow equal ROMs with different names."},
      {kAltSamplesBox, "Alt&. Samples Support", "Allow sampleset 'merging'."},
      {kAdvancedUnneededBox, "Ad&vanced Unneeded",
       "Enables an extra unneeded check. Experienced users only !"},
      {kZeroCrcCreationBox, "&0-CRCs Creation", "Adding of dummy files for missing bad dumps."},
      {kShowZeroCrcsBox, "Show Missing 0-CRCs",
       "Show missing bad dumps. Greying enables showing of all bad dumps."},
      {kAskBeforeFixingBox, "Ask Before Fi&xing",
       "User has to confirm a fixing operation (Exception: fix missing)."},
      {kCheckSha1Box, "Check SHA-&1", "Also checks the SHA-1 of every ROM the list gives one for. Reads every file."},
      {kFastscanEdit, "Use &Fastscan File", "Enter the name of a fastscan-datfile."},
      {kFastscanBrowse, "<", "Browse for a fastscan file."},
      {kLogfileEdit, "Scanner &Logfile", "Enter the name of a scanner-results-logfile."},
      {kLogfileBrowse, "<", "Browse for a scanner-results-logfile."},
      {kAddStatisticsBox, "Add Statistics", "Add statistics to scanner-results-logfile."},
      {kScanButton, "&Scan", "Hit this button to start the scanning process."},
      {kFastScanButton, "F&astScan",
       "Start a fastscan operation. You have to end (not abort) a scan operation first."},
      {kSaveLogButton, "Save Logfile", "Saves the reported messages to a file."},
  };
  return texts;
}

const ScannerControlText& ScannerText(int id) {
  static const ScannerControlText unknown;
  for (const ScannerControlText& text : ScannerControlTexts())
    if (text.id == id) return text;
  return unknown;
}

const std::vector<CheckFixRow>& CheckFixRows() {
  static const std::vector<CheckFixRow> rows = {
      {kCheckMissingBox, kFixMissingBox}, {kCheckCaseBox, kFixCaseBox},
      {kCheckUnneededBox, kFixUnneededBox}, {kCheckNameBox, kFixNameBox},
      {kCheckLengthBox, kFixLengthBox}, {kCheckChecksumBox, 0},
  };
  return rows;
}

bool IsThreeStateBox(int id) { return id == kFixMissingBox || id == kShowZeroCrcsBox; }

int BoxStateFor(const SettingsRecord& s, int id) {
  if (id == kShowZeroCrcsBox) return s.showAllZeroCrcs ? kBoxGrey : s.showMissingZeroCrcs ? 1 : 0;
  const int governor = GoverningCheck(id);
  if (governor != 0 && !CheckIsOn(s, governor)) return 0;
  if (id == kFixMissingBox) return s.fixMissingAdvanced ? kBoxGrey : s.fixMissing ? 1 : 0;
  const BoxBinding* binding = FindBinding(id);
  return binding != nullptr && s.*(binding->setting) ? 1 : 0;
}

bool IsBoxEnabledFor(const SettingsRecord& settings, int id) {
  const int governor = GoverningCheck(id);
  return governor == 0 || CheckIsOn(settings, governor);
}

void StoreBoxState(SettingsRecord& s, int id, int state) {
  if (id == kFixMissingBox) {
    s.fixMissing = state == 1;
    s.fixMissingAdvanced = state == kBoxGrey;
    return;
  }
  if (id == kShowZeroCrcsBox) {
    s.showMissingZeroCrcs = state == 1;
    s.showAllZeroCrcs = state == kBoxGrey;
    return;
  }
  const BoxBinding* binding = FindBinding(id);
  if (binding == nullptr) return;
  s.*(binding->setting) = state != 0;
  if (state != 0) return;
  // The boxes this one governs are cleared with it.
  for (const BoxBinding& other : Bindings())
    if (GoverningCheck(other.id) == id) s.*(other.setting) = false;
  if (id == kCheckMissingBox) StoreBoxState(s, kFixMissingBox, 0);
}

void ClearBoxesWithoutCheck(SettingsRecord& s) {
  for (const BoxBinding& binding : Bindings()) {
    int check = GoverningCheck(binding.id);
    if (check != 0 && !CheckIsOn(s, check)) s.*(binding.setting) = false;
  }
  if (!s.checkMissing) StoreBoxState(s, kFixMissingBox, 0);
}

const char* ZeroCrcCaption(int state) {
  return state == kBoxGrey ? "Show All 0-CRCs" : "Show Missing 0-CRCs";
}

bool IsRadioButton(int id) {
  return WithRadio(id, [](const auto&) {});
}

bool IsRadioSelectedFor(const SettingsRecord& settings, int id) {
  bool selected = false;
  WithRadio(id, [&](const auto& radio) { selected = settings.*(radio.setting) == radio.value; });
  return selected;
}

void StoreRadio(SettingsRecord& settings, int id) {
  WithRadio(id, [&](const auto& radio) { settings.*(radio.setting) = radio.value; });
}

bool ChangesShownResults(int id) {
  switch (id) {
    case kScanGamesBox: case kScanRomsBox: case kScanSamplesBox:
    case kCheckMissingBox: case kCheckCaseBox: case kCheckUnneededBox:
    case kCheckNameBox: case kCheckLengthBox: case kCheckChecksumBox:
    case kShowZeroCrcsBox:
      return true;
    default:
      return false;
  }
}

}  // namespace kestrel
