// Where a tool dialog was last: its top-left corner, kept by the main window
// in the per-user store and handed to the dialog as two integers.
#pragma once

class QWidget;

namespace kestrel {

// Moves `window` (keeping its size) to the remembered corner. (0, 0), the
// value of a first run, and a corner on no screen (a screen that is gone)
// leave the window where the window system puts it.
void MoveToRememberedPosition(QWidget& window, const int* x, const int* y);

// Stores the window's top-left corner; null pointers store nothing.
void RememberPosition(const QWidget& window, int* x, int* y);

// Whether a tool dialog may close now: never while its run owns it. When it
// may, it is restored from minimised and its corner is stored first.
bool ReadyToClose(QWidget& dialog, bool running, int* x, int* y);

}  // namespace kestrel
