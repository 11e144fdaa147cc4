#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTreeWidget>

#include "gui/gui_test_helpers.h"
#include "gui/qt_text.h"
#include "gui/settings_dialog.h"

namespace kestrel {
namespace {

using testing::WhenModalOpens;
using testing::WriteFile;

class SettingsDialogTest : public ::testing::Test {
 protected:
  std::unique_ptr<SettingsDialog> Open(UserInterface* person) {
    SettingsDialogContext context{&record, &rawGames, &database, &loaded, folder.path(), &zipLevel, &x, &y, person};
    return std::make_unique<SettingsDialog>(context);
  }
  static QLineEdit* Edit(SettingsDialog& dialog, int id) { return qobject_cast<QLineEdit*>(dialog.control(id)); }
  static void Type(SettingsDialog& dialog, int id, const std::string& text) {
    Edit(dialog, id)->setText(ToQString(text));
    emit Edit(dialog, id)->editingFinished();
  }
  static void Click(SettingsDialog& dialog, int id) { qobject_cast<QAbstractButton*>(dialog.control(id))->click(); }

  testing::TempFolder folder;
  SettingsRecord record;
  GameList rawGames, database;
  LoadedData loaded;
  ScriptedInterface ui;
  char zipLevel = '9';
  int x = 0, y = 0;
};

// OK names each missing working folder, the backup folder only while
// backups are on.
TEST_F(SettingsDialogTest, OkTellsOfEachMissingWorkingFolder) {
  for (bool backups : {true, false}) {
    record.makeBackups = backups;
    ScriptedInterface person;
    auto dialog = Open(&person);
    Type(*dialog, kSettingsBackupEdit, "");
    Type(*dialog, kSettingsTempEdit, "");
    Click(*dialog, kSettingsOk);
    std::string told;
    for (const RecordedMessage& message : person.messages)
      if (message.title == "Path-Error") told += message.text + ";";
    EXPECT_EQ(told, backups ? "No Valid Backupfolder;No Valid Temporaryfolder;" : "No Valid Temporaryfolder;");
  }
}

// A saved profile comes back whole, with its selection of the data in
// memory; a damaged one is refused and the settings in force stay.
TEST_F(SettingsDialogTest, SavedProfileLoadsBackAndADamagedOneChangesNothing) {
  record.tempFolder = folder.path();
  loaded = LoadedData{DataSourceKind::kDatfile, folder / "games.dat", 0x5eed};
  database.resize(2);
  database[1].selected = false;
  auto dialog = Open(&ui);
  Type(*dialog, kSettingsZipLevel, "4");
  ui.fileAnswers = {folder / "saved.kpf", folder / "broken.kpf", folder / "saved.kpf"};
  Click(*dialog, kSettingsSave);
  database[1].selected = true;
  Type(*dialog, kSettingsZipLevel, "-3");
  EXPECT_EQ(record.zipLevel, 0);  // clamped
  EXPECT_EQ(zipLevel, '0');       // and it reaches the zip library

  WriteFile(folder / "broken.kpf", "KPFOPX");
  Click(*dialog, kSettingsLoad);
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>({"Error While Loading Profile"}));
  EXPECT_EQ(record.zipLevel, 0);
  Click(*dialog, kSettingsLoad);
  EXPECT_EQ(record.zipLevel, 4);
  EXPECT_EQ(record.tempFolder, folder.path());
  EXPECT_EQ(Edit(*dialog, kSettingsZipLevel)->text(), "4");
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_FALSE(database[1].selected);
  EXPECT_EQ(dialog->windowTitle().toStdString(), "Kestrel Settings | Data In Memory: games.dat");
}

// The controls show each mode and store the one picked. Numbers a damaged
// profile may hold show as before: the list moves to the nearest one, an
// unknown source ticks none, unknown levels show as ticked and as IDLE.
TEST_F(SettingsDialogTest, ModesShowAsStoredAndOddNumbersAsBefore) {
  record.currentPathList = PathListKind{9};
  record.dataSource = DataSourceKind{7};
  record.displayLiErrors = ListErrorLevel{5};
  record.threadPriority = ThreadPriorityLevel{3};
  record.miscPaths = {{"/misc/", true}};
  record.addPaths = {{"/add/", true}};
  auto dialog = Open(&ui);
  auto* list = qobject_cast<QComboBox*>(dialog->control(kSettingsListCombo));
  auto* liErrors = qobject_cast<QCheckBox*>(dialog->control(kSettingsLiErrors));
  auto* priority = qobject_cast<QComboBox*>(dialog->control(kSettingsPriority));
  EXPECT_EQ(list->currentIndex(), 4);
  EXPECT_EQ(record.currentPathList, PathListKind::kGames);
  for (int id : {kSettingsUseMame, kSettingsUseDatfile, kSettingsUseRaine, kSettingsMameEdit, kSettingsDatfileEdit,
                 kSettingsRaineEdit}) {
    auto* button = qobject_cast<QAbstractButton*>(dialog->control(id));
    EXPECT_FALSE(button != nullptr ? button->isChecked() : dialog->control(id)->isEnabled()) << id;
  }
  EXPECT_EQ(liErrors->checkState(), Qt::Checked);
  EXPECT_EQ(priority->currentIndex(), 0);
  EXPECT_EQ(dialog->windowTitle().toStdString(), "Kestrel Settings | Data In Memory: <NO DATA>");

  list->setCurrentIndex(2);
  EXPECT_EQ(dialog->tree()->topLevelItem(0)->text(0).toStdString(), "/misc/");
  Click(*dialog, kSettingsUseRaine);
  liErrors->setCheckState(Qt::PartiallyChecked);
  priority->setCurrentIndex(5);
  Click(*dialog, kSettingsPickProfile);
  EXPECT_EQ(record.currentPathList, PathListKind::kMiscPaths);
  EXPECT_EQ(record.dataSource, DataSourceKind::kRaineExe);
  EXPECT_TRUE(dialog->control(kSettingsRaineEdit)->isEnabled() && !dialog->control(kSettingsMameEdit)->isEnabled());
  EXPECT_EQ(record.displayLiErrors, kShowRomErrors);
  EXPECT_EQ(record.threadPriority, kPriorityHighest);
  EXPECT_EQ(dialog->startOption(), StartOption::kPickProfile);
}

// A program picked on Linux has no extension: every file is offered, and
// the name is taken as picked, without ".exe".
TEST_F(SettingsDialogTest, EmulatorIsPickedAsItIsNamed) {
  WriteFile(folder / "games/mame", "#!/bin/sh\n");
  auto dialog = Open(nullptr);  // the real file dialog
  Click(*dialog, kSettingsUseMame);
  QStringList filters;
  // Ends a window the dialog would leave open after refusing the name
  // ("mame.exe File not found."), so that the test fails instead of hanging.
  QTimer rescue;
  rescue.setSingleShot(true);
  QObject::connect(&rescue, &QTimer::timeout, [] {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (auto* modal = qobject_cast<QDialog*>(window); modal && modal->isVisible()) modal->reject();
  });
  WhenModalOpens(
      [&](QWidget* modal) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(files, nullptr);
        filters = files->nameFilters();
        // A file dialog takes a selected file as the name typed only while
        // its name edit lacks the keyboard focus.
        if (QWidget* focused = files->focusWidget()) focused->clearFocus();
        files->selectFile(ToQString(folder / "games/mame"));
        rescue.start(3000);
        QMetaObject::invokeMethod(files, "accept");
      },
      3000);
  Click(*dialog, kSettingsMameBrowse);
  rescue.stop();
  ASSERT_FALSE(filters.isEmpty());
  EXPECT_EQ(filters.first(), "All files (*)");
  EXPECT_EQ(record.mameExe, folder / "games/mame");
  EXPECT_EQ(Edit(*dialog, kSettingsMameEdit)->text().toStdString(), folder / "games/mame");
}

}  // namespace
}  // namespace kestrel
