#include "settings/scan_switches.h"

namespace kestrel {
namespace {

using S = SettingsRecord;

constexpr std::array<ScanSwitch, kScanSwitchCount> kScanSwitches = {{
    {&S::scanGames, "scan-games", "Check the game sets (default on)", SwitchRole::kScope, nullptr},
    {&S::scanRoms, "scan-roms", "Check the ROMs (default on)", SwitchRole::kScope, nullptr},
    {&S::scanSamples, "scan-samples", "Check the samples (default on)", SwitchRole::kScope, nullptr},
    {&S::checkMissing, "check-missing", "Report missing files (default on)", SwitchRole::kCheck, nullptr},
    {&S::checkChecksum, "check-checksum", "Report wrong checksums (default on)", SwitchRole::kCheck, nullptr},
    {&S::checkUnneeded, "check-unneeded", "Report unneeded files (default on)", SwitchRole::kCheck, nullptr},
    {&S::checkName, "check-name", "Report wrongly named ROMs (default on)", SwitchRole::kCheck, nullptr},
    {&S::checkLength, "check-length", "Report wrong lengths (default on)", SwitchRole::kCheck, nullptr},
    {&S::checkCase, "check-case", "Report wrong letter case (default off)", SwitchRole::kCheck, nullptr},
    {&S::fixUnneeded, "fix-unneeded", "Remove unneeded files (into the backup zips)", SwitchRole::kFix,
     &S::checkUnneeded},
    {&S::fixName, "fix-name", "Rename wrongly named ROMs and sets", SwitchRole::kFix, &S::checkName},
    {&S::fixLength, "fix-length", "Cut over-long ROMs down to the ROM", SwitchRole::kFix, &S::checkLength},
    {&S::fixCase, "fix-case", "Correct the letter case of sets, ROMs and samples", SwitchRole::kFix, &S::checkCase},
    {&S::fixMissing, "fix-missing", "Add missing ROMs from the add paths", SwitchRole::kFix, &S::checkMissing},
    {&S::fixMissingAdvanced, "fix-missing-advanced",
     "Also look at every file directly inside the add paths (implies --fix-missing)", SwitchRole::kFix,
     &S::checkMissing},
    {&S::allowDoubleNames, "allow-double-names", "Accept a ROM under another name of its family (default on)",
     SwitchRole::kOption, &S::checkMissing},
    {&S::altSamplesSupport, "alt-samples", "Alternative samples (default on)", SwitchRole::kOption, nullptr},
    {&S::advancedUnneeded, "advanced-unneeded", "Advanced unneeded check (default off)", SwitchRole::kOption,
     &S::checkUnneeded},
    {&S::showMissingZeroCrcs, "show-missing-zero-crcs", "Show missing 0-CRC ROMs (default on)",
     SwitchRole::kOption, nullptr},
    {&S::zeroCrcCreation, "zero-crc-creation", "Create 0-CRC files (default on)", SwitchRole::kOption, nullptr},
    {&S::askBeforeFixing, "ask-before-fixing", "Ask before each repair, see --answer (default on)",
     SwitchRole::kOption, nullptr},
    {&S::showAllZeroCrcs, "show-all-zero-crcs", "Show every 0-CRC ROM (default off)", SwitchRole::kOption,
     nullptr},
    {&S::pathWarnings, "path-warnings", "Warn about suspicious paths first (default on)", SwitchRole::kOption,
     nullptr},
    {&S::addStatistics, "add-statistics", "Add the statistics to the logfile (default off)", SwitchRole::kOption,
     nullptr},
    {&S::makeBackups, "backups", "Keep removed files in the backup folder (default on)", SwitchRole::kOption,
     nullptr},
}};

}  // namespace

const std::array<ScanSwitch, kScanSwitchCount>& ScanSwitches() { return kScanSwitches; }

std::size_t ScanSwitchIndex(bool SettingsRecord::*field) {
  std::size_t index = 0;
  while (index < kScanSwitchCount && kScanSwitches[index].field != field) ++index;
  return index;
}

}  // namespace kestrel
