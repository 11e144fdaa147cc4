#include <gtest/gtest.h>

#include <QSettings>

#include "gui/gui_test_helpers.h"
#include "gui/main_window.h"
#include "gui/rebuilder_dialog.h"
#include "gui/scanner_dialog.h"
#include "gui/settings_dialog.h"
#include "gui/user_values.h"

namespace kestrel {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() { QSettings(QSettings::IniFormat, QSettings::UserScope, "Kestrel", "Kestrel").clear(); }

  std::unique_ptr<MainWindow> Open(int veryFirstTime) {
    const UserValues values{.veryFirstTime = veryFirstTime, .layout = {}};
    auto window = std::make_unique<MainWindow>(data.path(), values, &zipLevel);
    window->SetInterface(&ui);
    window->runSettingsDialog = [this](SettingsDialog&) { ++settingsDialogs; return false; };
    window->runScannerDialog = [this](ScannerDialog&) { ++scannerDialogs; };
    window->runRebuilderDialog = [](RebuilderDialog&) {};
    return window;
  }

  testing::TempFolder data;
  ScriptedInterface ui;
  char zipLevel = '5';
  int settingsDialogs = 0;
  int scannerDialogs = 0;
};

TEST_F(MainWindowTest, FirstStartGreetsOpensSettingsAndIsStoredAsDone) {
  EXPECT_EQ(ReadUserValues().veryFirstTime, 1);  // nothing stored yet
  auto window = Open(1);
  EXPECT_TRUE(FolderExists(data.path() + "BACKUP.KPW/"));
  window->StartUp();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Welcome To Kestrel");
  EXPECT_EQ(settingsDialogs, 1);
  window->close();
  ASSERT_TRUE(WriteUserValues(window->ValuesAtExit()));
  EXPECT_EQ(ReadUserValues().veryFirstTime, 0);
}

// A tool refuses with one message while what it needs is missing; the
// settings dialog's changes count only when it is left with OK.
TEST_F(MainWindowTest, ToolsNeedDataAndFoldersAndSettingsChangeOnlyOnOk) {
  auto window = Open(0);
  auto press = [&](int tool) {
    ui.messages.clear();
    const bool ran = window->RunTool(tool);
    return ran && ui.messages.empty() ? "ran" : ui.messages.size() == 1 ? ui.messages[0].text : "?";
  };
  const std::string goToSettings = "\n\nGo To The Settings Dialog !";
  EXPECT_EQ(press(kCommandScanner), "No Valid Data Available" + goToSettings);
  window->database().resize(1);
  window->settings().tempFolder.clear();
  EXPECT_EQ(press(kCommandRebuilder), "No Valid Temporaryfolder" + goToSettings);
  window->settings().tempFolder = data.path();
  window->settings().backupFolder = data / "gone/";
  EXPECT_EQ(press(kCommandScanner), "No Valid Backupfolder" + goToSettings);
  EXPECT_EQ(scannerDialogs, 0);
  window->settings().makeBackups = false;
  EXPECT_EQ(press(kCommandScanner), "ran");
  EXPECT_EQ(scannerDialogs, 1);

  for (bool ok : {false, true}) {  // false: closed with the close box
    window->runSettingsDialog = [ok](SettingsDialog& dialog) {
      dialog.control(kSettingsPickProfile)->setProperty("checked", true);
      return ok;
    };
    window->RunTool(kCommandSettings);
    EXPECT_EQ(window->settings().startOption, ok ? 1 : 0);
  }
}

}  // namespace
}  // namespace kestrel
