// Which scanner switches each kind of finding answers to: the part of the
// scan it belongs to (games, ROMs or samples), the check that looks for it
// and the fix that repairs it. The results tree shows a kind, and the
// statistics count it, by the same rule: its part and its check are on.
#pragma once

#include "report/result_line.h"
#include "settings/settings_record.h"

namespace kestrel {

// True when the scan looks for findings of `kind` under `settings`; false
// for headers and kinds this program does not know.
bool IsFindingChecked(ResultKind kind, const SettingsRecord& settings);

// True when the fix of `kind`'s findings is switched on; false for kinds
// without a fix.
bool IsFindingFixOn(ResultKind kind, const SettingsRecord& settings);

}  // namespace kestrel
