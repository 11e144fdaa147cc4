// Editing of the path lists shown in the settings dialog. A list's order is
// the order in which the tools search it, so moves keep `position` in step.
#pragma once

#include <string>

#include "settings/settings_record.h"

namespace kestrel {

// Appends `folder` enabled, unless the list already holds it without regard
// to case. An existing folder is taken as the file system spells it, with a
// trailing '/'. Returns whether a line was added.
bool AddPath(PathList& list, const std::string& folder);

// Moves line `index` one place up (step < 0) or down (step > 0); the two
// lines exchange their places and `position` values. Returns the moved
// line's new index (unchanged when it is already at that end).
int MovePathLine(PathList& list, int index, int step);

// Removes line `index` and numbers the rest again.
void RemovePathLine(PathList& list, int index);

}  // namespace kestrel
