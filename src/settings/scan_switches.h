// The scanner's on/off switches in one table: what part of a collection a
// scan looks at, which findings it checks for, which it repairs (each repair
// with the check it works from) and the options around them. The command
// line, the fastscan file and the results all read their switches from here,
// so a switch added once is known everywhere.
#pragma once

#include <array>
#include <cstddef>

#include "settings/settings_record.h"

namespace kestrel {

enum class SwitchRole {
  kScope,   // which kind of set a scan looks at: games, ROMs, samples
  kCheck,   // a kind of finding looked for
  kFix,     // the repair of the findings of `check`
  kOption,  // how checks and repairs are done
};

struct ScanSwitch {
  bool SettingsRecord::*field;
  const char* name;  // on the command line, "--name" and "--no-name"
  const char* help;  // the command line's help text
  SwitchRole role;
  // The check this switch works with, which must be on for it to count: a
  // fix's check, or the check an option refines; else null.
  bool SettingsRecord::*check;
};

// Every switch: the first kFastscanSwitchCount in the order of the
// fastscan file, which stores exactly these; the rest after them.
inline constexpr std::size_t kFastscanSwitchCount = 21;
inline constexpr std::size_t kScanSwitchCount = 25;
const std::array<ScanSwitch, kScanSwitchCount>& ScanSwitches();

// The position of `field` in ScanSwitches(), or kScanSwitchCount.
std::size_t ScanSwitchIndex(bool SettingsRecord::*field);

}  // namespace kestrel
