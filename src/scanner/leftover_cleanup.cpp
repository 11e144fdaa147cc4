#include "scanner/leftover_cleanup.h"

#include <string>
#include <vector>

#include "archive/interrupted_write.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

std::string OutcomeMark(const ClearedLeftover& cleared) {
  switch (cleared.outcome) {
    case LeftoverOutcome::kMovedToBackup:
      return " [moved to " + cleared.movedTo + "]";
    case LeftoverOutcome::kKept:
      break;
  }
  return " [not cleared]";
}

void ClearIn(ScanContext& context, const std::string& folder, ResultsModel& results) {
  for (const InterruptedWrite& leftover : FindInterruptedWrites(context.fs, folder)) {
    ClearedLeftover cleared = ClearInterruptedWrite(context.fs, context.settings.backupFolder, leftover);
    AddResultLine(results, "interrupted write: " + leftover.path + OutcomeMark(cleared), kTopLevel,
                  kResultUnneeded, true, true);
  }
}

}  // namespace

void ClearInterruptedWrites(ScanContext& context, ResultsModel& results) {
  // A leftover is an unneeded file: without the fix it is only reported,
  // by the unneeded check, like any other.
  if (!context.settings.checkUnneeded || !context.settings.fixUnneeded) return;
  for (const std::string& path : context.romPaths) ClearIn(context, path, results);
  for (const std::string& path : context.samplePaths) ClearIn(context, path, results);
}

}  // namespace kestrel
