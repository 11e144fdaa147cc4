// Checks a loaded record against the disk before the tools use it.
#pragma once

#include "app/user_interface.h"
#include "settings/settings_record.h"

namespace kestrel {

// Empties a missing backup or temporary folder, disables every enabled path
// of romPaths, samplePaths, addPaths and miscPaths that no longer exists
// (telling the user once through `owner`; a null `owner` hears nothing)
// and normalises the rest. Returns false when the
// temporary folder is empty, or the backup folder while backups are on.
// The repairs stay in the record either way.
bool ValidateProfile(SettingsRecord& record, UserInterface* owner);

}  // namespace kestrel
