#include "gui/remembered_position.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kestrel {

void MoveToRememberedPosition(QWidget& window, const int* x, const int* y) {
  if (x == nullptr || y == nullptr || (*x == 0 && *y == 0)) return;
  const QPoint corner(*x, *y);
  if (QGuiApplication::screenAt(corner) != nullptr) window.move(corner);
}

void RememberPosition(const QWidget& window, int* x, int* y) {
  if (x != nullptr) *x = window.pos().x();
  if (y != nullptr) *y = window.pos().y();
}

bool ReadyToClose(QWidget& dialog, bool running, int* x, int* y) {
  if (running) return false;
  if (dialog.isMinimized()) dialog.showNormal();
  RememberPosition(dialog, x, y);
  return true;
}

}  // namespace kestrel
