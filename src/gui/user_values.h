// What the program keeps per user outside any profile: the start choice,
// the first-run flag, the zip scanner switch and where the windows were.
// Stored as an INI file in the user's configuration folder, sections
// "Settings" and "Windows", every value an integer.
#pragma once

namespace kestrel {

// What the desktop program loads when it starts. It belongs to the user,
// not to a collection: no profile holds it. Any other number acts as
// kLastSettings.
enum class StartOption : int {
  kLastSettings = 0,  // the profile the last run saved on closing
  kPickProfile = 1,   // a profile the user chooses
};

struct WindowLayout {
  int outputLeft = 57;
  int outputTop = 35;
  int outputRight = 474;
  int outputBottom = 435;
  int scanDlgX = 0;
  int scanDlgY = 0;
  int settingsDlgX = 0;
  int settingsDlgY = 0;
  int mergerDlgX = 0;
  int mergerDlgY = 0;
  int rebuilderDlgX = 0;
  int rebuilderDlgY = 0;
  int alwaysOnTop = 0;  // 1: the results window stays above the others
};

struct UserValues {
  StartOption startFrom = StartOption::kLastSettings;
  int veryFirstTime = 1;
  int advancedZipScanner = 0;  // 1: the tools read zips with ZipHeaderCheck::kBothHeaders
  WindowLayout layout;
};

// Missing or unreadable values take their defaults.
UserValues ReadUserValues();
// False when the store cannot be written.
bool WriteUserValues(const UserValues& values);

}  // namespace kestrel
