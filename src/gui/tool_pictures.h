// The pictures of the main window's buttons and the program icon, drawn at
// run time so the program ships no image files.
#pragma once

#include <QIcon>

namespace kestrel {

enum class ToolPicture { kScanner, kMerger, kRebuilder, kSettings };

QIcon DrawToolPicture(ToolPicture picture);
QIcon DrawProgramIcon();

}  // namespace kestrel
