#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QStringList>
#include <new>

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

constexpr char kOutOfMemory[] =
    "Out of memory: Kestrel stopped. Free some memory, or use a smaller list, and start it again.";
constexpr int kExitOutOfMemory = 2;

void TellOutOfMemory() { QMessageBox::critical(nullptr, QStringLiteral("Kestrel"), QString::fromUtf8(kOutOfMemory)); }

// The tools run from the event loop; running out of memory in one ends the
// program with a message instead of an abort.
class KestrelApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
      TellOutOfMemory();
      exit(kExitOutOfMemory);  // leaves every event loop, the dialogs' too
      return false;
    }
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  KestrelApplication app(argc, argv);
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
  try {
    return kestrel::RunKestrel();
  } catch (const std::bad_alloc&) {
    TellOutOfMemory();
    return kExitOutOfMemory;
  }
}
