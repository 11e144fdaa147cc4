#include "gui/start_choice.h"

namespace kestrel {

StartAction ChooseStartAction(const UserValues& values) {
  if (values.veryFirstTime == 1) return StartAction::kWelcome;
  return values.startFrom == StartOption::kPickProfile ? StartAction::kPickProfile : StartAction::kLoadLastProfile;
}

}  // namespace kestrel
