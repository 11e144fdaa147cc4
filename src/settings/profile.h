// The settings operations in one include, for callers that use several.
#pragma once

#include "settings/check_folder.h"
#include "settings/enabled_paths.h"
#include "settings/game_selection.h"
#include "settings/loaded_data.h"
#include "settings/profile_file.h"
#include "settings/settings_record.h"
#include "settings/validate_profile.h"
