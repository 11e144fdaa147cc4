#include "gui/remembered_position.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace kestrel {

QRect FitOnScreen(const QRect& rect) {
  QScreen* screen = QGuiApplication::screenAt(rect.center());
  if (screen == nullptr) screen = QGuiApplication::screenAt(rect.topLeft());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return rect;
  const QRect area = screen->availableGeometry();
  QRect fitted(rect.topLeft(), rect.size().boundedTo(area.size()));
  fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.right() + 1 - fitted.width()));
  fitted.moveTop(std::clamp(fitted.top(), area.top(), area.bottom() + 1 - fitted.height()));
  return fitted;
}

void MoveToRememberedPosition(QWidget& window, const int* x, const int* y) {
  if (x == nullptr || y == nullptr || (*x == 0 && *y == 0)) return;
  const QPoint corner(*x, *y);
  if (QGuiApplication::screenAt(corner) == nullptr) return;
  window.move(FitOnScreen(QRect(corner, window.frameGeometry().size())).topLeft());
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
