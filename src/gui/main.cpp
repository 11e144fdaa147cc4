#include <QApplication>
#include <QStringList>

#include "gui/screenshots.h"
#include "gui/start_up.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Hidden option for the documentation: draws the windows into PNG files.
  const QStringList arguments = QApplication::arguments();
  const qsizetype option = arguments.indexOf("--screenshots");
  if (option >= 0 && option + 1 < arguments.size())
    return kestrel::RenderScreenshots(arguments[option + 1].toStdString()) ? 0 : 1;
  return kestrel::RunKestrel();
}
