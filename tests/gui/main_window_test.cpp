#include <gtest/gtest.h>

#include <QSettings>

#include "app/scripted_interface.h"
#include "gui/gui_test_helpers.h"
#include "gui/main_window.h"
#include "gui/scanner_dialog.h"
#include "gui/merger_dialog.h"
#include "gui/rebuilder_dialog.h"
#include "gui/settings_dialog.h"
#include "gui/user_values.h"
#include "platform/file_system.h"
#include "settings/profile.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;

constexpr char kDataMessage[] = "No Valid Data Available\n\nGo To The Settings Dialog !";
constexpr char kTempMessage[] = "No Valid Temporaryfolder\n\nGo To The Settings Dialog !";

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
  auto window = Open(1, 0);
  EXPECT_EQ(window->windowTitle(), "Kestrel V1.0  BETA 4");
  EXPECT_EQ(window->settings().backupFolder, data.path() + "BACKUP.KPW/");
  EXPECT_TRUE(FolderExists(data.path() + "BACKUP.KPW/"));
  EXPECT_EQ(zipLevel, '9');  // the level of the settings in force

  window->StartUp();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Welcome To Kestrel");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(ui.messages[0].text.rfind("You're starting Kestrel for the very first time.\n\n", 0), 0u);
  EXPECT_EQ(settingsDialogs, 1);
  EXPECT_TRUE(window->database().empty());

  window->close();  // the close command saves the start profile
  EXPECT_TRUE(FileExists(data.path() + "_last.kpf"));
  ASSERT_TRUE(WriteUserValues(window->ValuesAtExit()));
  EXPECT_EQ(ReadUserValues().veryFirstTime, 0);
}

TEST_F(MainWindowTest, StartProfileBringsItsDataAndZipLevel) {
  testing::WriteFile(data / "small.dat", testing::SmallDatfile());
  SettingsRecord profile;
  profile.dataSource = 1;
  profile.datfile = data / "small.dat";
  profile.tempFolder = data.path();
  profile.backupFolder = data.path();
  profile.zipLevel = 3;
  ASSERT_TRUE(SaveProfile(profile, data / "_last.kpf", GameList()));

  auto window = Open(0, 0);
  window->StartUp();
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>());
  EXPECT_EQ(window->database().size(), 3u);
  EXPECT_EQ(window->settings().loadedDatfile, data / "small.dat");
  EXPECT_EQ(zipLevel, '3');  // the profile's level reaches the zip library
}

TEST_F(MainWindowTest, ToolsRefuseWithoutDataOrTemporaryFolder) {
  auto window = Open(0, 2);
  for (int tool : {kCommandScanner, kCommandRebuilder, kCommandMerger}) {
    ui.messages.clear();
    EXPECT_FALSE(window->RunTool(tool));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kDataMessage);
    EXPECT_EQ(ui.messages[0].title, "Data Error");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::kStop);
  }

  window->database().resize(1);
  window->settings().tempFolder.clear();
  for (int tool : {kCommandScanner, kCommandRebuilder}) {
    ui.messages.clear();
    EXPECT_FALSE(window->RunTool(tool));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kTempMessage);
    EXPECT_EQ(ui.messages[0].title, "Path Error");
  }
  ui.messages.clear();
  EXPECT_TRUE(window->RunTool(kCommandMerger));
  EXPECT_TRUE(ui.messages.empty());

  // With backups on, a missing backup folder blocks the scanner alone.
  window->settings().tempFolder = data.path();
  window->settings().backupFolder = data / "gone/";
  EXPECT_FALSE(window->RunTool(kCommandScanner));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "No Valid Backupfolder\n\nGo To The Settings Dialog !");
  EXPECT_TRUE(window->RunTool(kCommandRebuilder));
  EXPECT_EQ(scannerDialogs, 0);

  // With every precondition met the Scanner button opens the scanner dialog.
  window->settings().makeBackups = false;
  EXPECT_TRUE(window->RunTool(kCommandScanner));
  EXPECT_EQ(scannerDialogs, 1);
}

TEST_F(MainWindowTest, SettingsDialogReplacesTheRecordOnlyOnOk) {
  auto window = Open(0, 0);
  window->runSettingsDialog = [](SettingsDialog& dialog) {
    dialog.control(kSettingsPickProfile)->setProperty("checked", true);
    return false;  // closed with the close box
  };
  window->RunTool(kCommandSettings);
  EXPECT_EQ(window->settings().startOption, 0);
  window->runSettingsDialog = [](SettingsDialog& dialog) {
    dialog.control(kSettingsPickProfile)->setProperty("checked", true);
    return true;
  };
  window->RunTool(kCommandSettings);
  EXPECT_EQ(window->settings().startOption, 1);
  EXPECT_EQ(window->ValuesAtExit().startFrom, 1);
}

TEST(UserValues, DefaultsAndRoundTrip) {
  QSettings store(QSettings::IniFormat, QSettings::UserScope, "Kestrel", "Kestrel");
  store.clear();
  store.setValue("Windows/OutputTop", "garbage");
  store.sync();
  UserValues values = ReadUserValues();
  EXPECT_EQ(values.veryFirstTime, 1);
  EXPECT_EQ(values.layout.outputLeft, 57);
  EXPECT_EQ(values.layout.outputTop, 35);  // not a number: the default
  EXPECT_EQ(values.layout.outputBottom, 435);

  values.startFrom = 1;
  values.layout.rebuilderDlgY = 77;
  ASSERT_TRUE(WriteUserValues(values));
  EXPECT_EQ(store.value("Settings/StartFrom").toInt(), 1);
  const UserValues back = ReadUserValues();
  EXPECT_EQ(back.startFrom, 1);
  EXPECT_EQ(back.layout.rebuilderDlgY, 77);
}

}  // namespace
}  // namespace kestrel
