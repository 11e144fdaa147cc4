// Where a tool dialog was last: its top-left corner, kept by the main window
// in the per-user store and handed to the dialog as two integers.
#pragma once

#include <QRect>

class QWidget;

namespace kestrel {

// The rectangle moved (and if need be shrunk) to lie wholly in the
// available area of the screen it is mostly on; a rectangle on no screen
// (a screen that is gone, a position stored at another scaling) comes onto
// the primary screen. Without screens it is returned as it is.
QRect FitOnScreen(const QRect& rect);

// Moves `window` (keeping its size) to the remembered corner. (0, 0), the
// value of a first run, and a corner on no screen (a screen that is gone)
// leave the window where the window system puts it; a window that would
// reach past its screen's edge is moved in.
void MoveToRememberedPosition(QWidget& window, const int* x, const int* y);

// Stores the window's top-left corner; null pointers store nothing.
void RememberPosition(const QWidget& window, int* x, int* y);

// Whether a tool dialog may close now: never while its run owns it. When it
// may, it is restored from minimised and its corner is stored first.
bool ReadyToClose(QWidget& dialog, bool running, int* x, int* y);

}  // namespace kestrel
