#include "settings/settings_record.h"

namespace kestrel {

void ResetSettings(SettingsRecord& record) { record = SettingsRecord{}; }

}  // namespace kestrel
