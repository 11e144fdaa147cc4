#include "gui/start_up.h"

#include <QApplication>

#include "acquire/data_folder.h"
#include "archive/zip_library.h"
#include "gui/main_window.h"
#include "gui/user_values.h"

namespace kestrel {

int RunKestrel() {
  QApplication::setApplicationName("Kestrel");
  QApplication::setOrganizationName("Kestrel");
  const std::string dataFolder = DefaultDataFolder();

  ZipLibrary zipLibrary;
  const UserValues values = ReadUserValues();

  int result = 0;
  UserValues atExit;
  {
    MainWindow window(dataFolder, values, &zipLibrary.level);
    window.show();
    result = QApplication::exec();
    atExit = window.ValuesAtExit();
  }
  WriteUserValues(atExit);
  return result;
}

}  // namespace kestrel
