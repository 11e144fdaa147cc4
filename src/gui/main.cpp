#include <QApplication>
#include <QStringList>

#include "gui/screenshots.h"
#include "gui/start_up.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
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
