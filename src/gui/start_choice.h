// What the program does once its window is first shown.
#pragma once

#include "gui/user_values.h"

namespace kestrel {

enum class StartAction {
  kWelcome,          // first run: greet the user and open the settings
  kLoadLastProfile,  // load the profile the last run saved on closing
  kPickProfile,      // let the user choose a profile to load
};

// The first run greets; otherwise kPickProfile picks a profile, and any
// other value loads the last one, as the settings dialog shows it
// ("Last Settings" for everything but kPickProfile).
StartAction ChooseStartAction(const UserValues& values);

}  // namespace kestrel
