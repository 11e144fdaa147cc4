#include <QApplication>
#include <QIcon>
#include <QStringList>

#include "gui/screenshots.h"
#include "gui/start_up.h"

namespace {

// The icon theme's, so that the desktop shows the installed icon; the
// embedded one when the theme has none (a program run from its build folder).
QIcon ProgramIcon() {
  QIcon embedded;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    embedded.addFile(QStringLiteral(":/icons/kestrel-%1.png").arg(size), QSize(size, size));
  return QIcon::fromTheme(QStringLiteral("kestrel"), embedded);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Wayland desktops match windows to kestrel.desktop by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("kestrel"));
  QApplication::setWindowIcon(ProgramIcon());
  // Hidden option for the documentation: draws the windows into PNG files.
  const QStringList arguments = QApplication::arguments();
  const qsizetype option = arguments.indexOf("--screenshots");
  // "--screenshots FOLDER [DATFILE COLLECTION]"
  if (option >= 0 && option + 1 < arguments.size()) {
    const auto argument = [&](qsizetype i) {
      return option + i < arguments.size() ? arguments[option + i].toStdString() : std::string();
    };
    return kestrel::RenderScreenshots(argument(1), argument(2), argument(3)) ? 0 : 1;
  }
  return kestrel::RunKestrel();
}
