// Runs the widget tests inside one QApplication on the offscreen platform,
// in a home of their own: HOME, the XDG folders and the working folder are
// fresh and empty, so neither the user's configuration (Qt's file dialog
// remembers folders there) nor the folder the tests start from changes
// what they see.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

namespace {

void UseFreshHome(const QString& home) {
  const QString folders[][2] = {{"HOME", ""},
                                {"XDG_CONFIG_HOME", "/.config"},
                                {"XDG_DATA_HOME", "/.local/share"},
                                {"XDG_CACHE_HOME", "/.cache"},
                                {"XDG_STATE_HOME", "/.local/state"},
                                {"XDG_RUNTIME_DIR", "/runtime"}};
  for (const auto& [variable, below] : folders) {
    QDir().mkpath(home + below);
    qputenv(variable.toLocal8Bit().constData(), (home + below).toLocal8Bit());
  }
  // Qt refuses a runtime folder that others may read.
  QFile::setPermissions(home + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QDir::setCurrent(home);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  UseFreshHome(home.path());
  QApplication app(argc, argv);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path() + "/.config");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
