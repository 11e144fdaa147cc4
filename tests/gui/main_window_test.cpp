#include <gtest/gtest.h>

#include <QSettings>

#include "app/scripted_interface.h"
#include "gui/main_window.h"
#include "gui/scanner_dialog.h"
#include "gui/merger_dialog.h"
#include "gui/rebuilder_dialog.h"
#include "gui/settings_dialog.h"
#include "gui/user_values.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() { QSettings(QSettings::IniFormat, QSettings::UserScope, "Kestrel", "Kestrel").clear(); }

  std::unique_ptr<MainWindow> Open(int veryFirstTime, int startFrom) {
    UserValues values;
    values.veryFirstTime = veryFirstTime;
    values.startFrom = startFrom;
    auto window = std::make_unique<MainWindow>(data.path(), values, &zipLevel);
    window->SetInterface(&ui);
    window->runSettingsDialog = [this](SettingsDialog&) { ++settingsDialogs; return false; };
    window->runScannerDialog = [this](ScannerDialog&) { ++scannerDialogs; };
    window->runRebuilderDialog = [](RebuilderDialog&) {};
    window->runMergerDialog = [](MergerDialog&) {};
    return window;
  }

  TempFolder data;
  ScriptedInterface ui;
  char zipLevel = '5';
  int settingsDialogs = 0;
  int scannerDialogs = 0;
};

TEST_F(MainWindowTest, FirstStartGreetsOpensSettingsAndIsStoredAsDone) {
  EXPECT_EQ(ReadUserValues().veryFirstTime, 1);  // nothing stored yet
  auto window = Open(1, 0);
  EXPECT_EQ(window->settings().backupFolder, data.path() + "BACKUP.KPW/");
  EXPECT_TRUE(FolderExists(data.path() + "BACKUP.KPW/"));
  EXPECT_EQ(zipLevel, '9');  // the level of the settings in force

  window->StartUp();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Welcome To Kestrel");
  EXPECT_EQ(ui.messages[0].text.rfind("You're starting Kestrel for the very first time.\n\n", 0), 0u);
  EXPECT_EQ(settingsDialogs, 1);
  EXPECT_TRUE(window->database().empty());

  window->close();  // the close command saves the start profile
  EXPECT_TRUE(FileExists(data.path() + "_last.kpf"));
  UserValues values = window->ValuesAtExit();
  values.layout.rebuilderDlgY = 77;
  ASSERT_TRUE(WriteUserValues(values));
  EXPECT_EQ(ReadUserValues().veryFirstTime, 0);
  EXPECT_EQ(ReadUserValues().layout.rebuilderDlgY, 77);
  // A stored value that is no number reads as its default.
  QSettings(QSettings::IniFormat, QSettings::UserScope, "Kestrel", "Kestrel").setValue("Windows/OutputTop", "x");
  EXPECT_EQ(ReadUserValues().layout.outputTop, 35);
}

TEST_F(MainWindowTest, ToolsRefuseWithoutDataOrTemporaryFolder) {
  auto window = Open(0, 2);
  // What a tool button did: "ran", or the one message that refused it.
  auto press = [&](int tool) {
    ui.messages.clear();
    if (window->RunTool(tool)) return ui.messages.empty() ? std::string("ran") : "ran, told " + ui.messages[0].text;
    return ui.messages.size() == 1 ? ui.messages[0].text : std::to_string(ui.messages.size()) + " messages";
  };
  const std::string goToSettings = "\n\nGo To The Settings Dialog !";
  for (int tool : {kCommandScanner, kCommandRebuilder, kCommandMerger})
    EXPECT_EQ(press(tool), "No Valid Data Available" + goToSettings);

  window->database().resize(1);
  window->settings().tempFolder.clear();
  EXPECT_EQ(press(kCommandScanner), "No Valid Temporaryfolder" + goToSettings);
  EXPECT_EQ(press(kCommandRebuilder), "No Valid Temporaryfolder" + goToSettings);
  EXPECT_EQ(press(kCommandMerger), "ran");

  // With backups on, a missing backup folder blocks the scanner alone.
  window->settings().tempFolder = data.path();
  window->settings().backupFolder = data / "gone/";
  EXPECT_EQ(press(kCommandScanner), "No Valid Backupfolder" + goToSettings);
  EXPECT_EQ(press(kCommandRebuilder), "ran");
  EXPECT_EQ(scannerDialogs, 0);

  // With every precondition met the Scanner button opens the scanner dialog.
  window->settings().makeBackups = false;
  EXPECT_EQ(press(kCommandScanner), "ran");
  EXPECT_EQ(scannerDialogs, 1);
}

TEST_F(MainWindowTest, SettingsDialogReplacesTheRecordOnlyOnOk) {
  auto window = Open(0, 0);
  for (bool ok : {false, true}) {  // false: closed with the close box
    window->runSettingsDialog = [ok](SettingsDialog& dialog) {
      dialog.control(kSettingsPickProfile)->setProperty("checked", true);
      return ok;
    };
    window->RunTool(kCommandSettings);
    EXPECT_EQ(window->settings().startOption, ok ? 1 : 0);
  }
  EXPECT_EQ(window->ValuesAtExit().startFrom, 1);
}

}  // namespace
}  // namespace kestrel
