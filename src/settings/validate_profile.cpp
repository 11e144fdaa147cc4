#include "settings/validate_profile.h"

#include "settings/check_folder.h"

namespace kestrel {
namespace {

constexpr char kPathsDisabledMessage[] =
    "Some Stored Paths Aren't Available !\n\nKestrel Disables These Paths.";

// Disables the enabled entries whose folders are gone; true when any was.
bool DisableMissingPaths(PathList& list) {
  bool disabledAny = false;
  for (PathEntry& entry : list) {
    if (!entry.enabled) continue;
    entry.enabled = CheckFolder(entry.path, false);
    if (!entry.enabled) disabledAny = true;
  }
  return disabledAny;
}

}  // namespace

bool ValidateProfile(SettingsRecord& record, UserInterface* owner) {
  CheckFolder(record.backupFolder, true);
  CheckFolder(record.tempFolder, true);
  bool disabledAny = false;
  for (PathList* list : {&record.romPaths, &record.samplePaths, &record.addPaths, &record.miscPaths}) {
    if (DisableMissingPaths(*list)) disabledAny = true;
  }
  bool valid = !(record.makeBackups && record.backupFolder.empty()) && !record.tempFolder.empty();
  if (disabledAny) {
    ShowMessage(owner, kPathsDisabledMessage, "Kestrel", {MessageButtons::kOk, MessageIcon::kExclamation});
  }
  return valid;
}

}  // namespace kestrel
