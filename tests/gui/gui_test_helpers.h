// Helpers of the widget tests: answering a modal window that is about to
// open, and a small game database.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "gamedb/game_set.h"

namespace kestrel::testing {

// Calls `act` with the modal window once it is shown; a window that never
// appears fails the test instead of hanging it.
inline void WhenModalOpens(std::function<void(QWidget*)> act, int attempts = 200) {
  QTimer::singleShot(10, [act, attempts] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      act(modal);
    } else if (attempts > 0) {
      WhenModalOpens(act, attempts - 1);
    } else {
      ADD_FAILURE() << "no modal window opened";
      // Ends whatever loop the test is stuck in rather than hanging it.
      for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
          dialog->reject();
    }
  });
}

// A datfile of three games: parent "pacman" with clone "puckman", and
// "galaga" with samples.
inline std::string SmallDatfile() {
  return "game (\n  name pacman\n  description \"Pac-Man\"\n"
         "  rom ( name pacman.6e size 4096 crc c1e6ab10 )\n)\n"
         "game (\n  name puckman\n  description \"PuckMan\"\n  cloneof pacman\n"
         "  rom ( name pacman.6e size 4096 crc c1e6ab10 )\n"
         "  rom ( name puckman.6f size 4096 crc 1a5fe4a1 )\n)\n"
         "game (\n  name galaga\n  description \"Galaga\"\n  sample bang.wav\n"
         "  rom ( name gg1_1b.3p size 4096 crc ab036c9f )\n)\n";
}

}  // namespace kestrel::testing
