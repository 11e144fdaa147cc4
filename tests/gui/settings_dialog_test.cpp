// The settings dialog: OK names the missing working folders, profiles are
// saved and loaded through it, its controls show and store each mode, and
// a program is picked as it is named.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QTreeWidget>

#include "gui/gui_test_helpers.h"
#include "gui/qt_text.h"
#include "gui/settings_dialog.h"

namespace kestrel {
namespace {

using testing::Click;
using testing::Type;

class SettingsDialogTest : public ::testing::Test {
 protected:
  std::unique_ptr<SettingsDialog> Open(UserInterface* person) {
    return std::make_unique<SettingsDialog>(
        SettingsDialogContext{&record, &rawGames, &database, &loaded, folder.path(), &zipLevel, &x, &y, person});
  }

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
  loaded = LoadedData{DataSourceKind::kDatfile, folder / "games.dat", 0x5eed, {}};
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

  testing::WriteFile(folder / "broken.kpf", "KPFOPX");
  Click(*dialog, kSettingsLoad);
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>({"Error While Loading Profile"}));
  EXPECT_EQ(record.zipLevel, 0);
  Click(*dialog, kSettingsLoad);
  EXPECT_EQ(record.zipLevel, 4);
  EXPECT_EQ(dialog->control(kSettingsZipLevel)->property("text").toString(), "4");
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
  auto sources = [&] {  // the radios ticked, then the edits enabled
    std::string shown;
    for (int id : {kSettingsUseMame, kSettingsUseDatfile, kSettingsUseRaine})
      shown += dialog->control(id)->property("checked").toBool() ? '1' : '0';
    for (int id : {kSettingsMameEdit, kSettingsDatfileEdit, kSettingsRaineEdit})
      shown += dialog->control(id)->isEnabled() ? '1' : '0';
    return shown;
  };
  EXPECT_EQ(sources(), "000000");
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
  EXPECT_EQ(sources(), "001001");
  ui.fileAnswers = {"/emu/raine"};
  Click(*dialog, kSettingsRaineBrowse);
  EXPECT_EQ(record.raineExe, "/emu/raine");
  EXPECT_EQ(record.displayLiErrors, kShowRomErrors);
  EXPECT_EQ(record.threadPriority, kPriorityHighest);
  EXPECT_EQ(dialog->startOption(), StartOption::kPickProfile);
}

// The tree edits the list the combo shows: a folder is added, the last
// line moved down stays last, a line is unticked and one removed; on the
// games list an unticked clone takes its family along.
TEST_F(SettingsDialogTest, TheTreeEditsTheShownListAndTicksAGameWithItsFamily) {
  record.romPaths = {{"/a/", true}, {"/b/", true}};
  record.parentClones = true;
  database = testing::MakeDatabase({{"pacman", "", {"a.1"}}, {"puckman", "pacman", {"a.1"}}, {"galaga", "", {"g.1"}}},
                                   folder / "games.dat");
  for (GameSet& game : database) game.selected = true;
  auto dialog = Open(&ui);
  QTreeWidget* tree = dialog->tree();
  auto shown = [&] {  // each line with "+" ticked, "-" not
    std::string lines;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
      lines += tree->topLevelItem(i)->text(0).toStdString() + (tree->topLevelItem(i)->checkState(0) ? "+ " : "- ");
    return lines;
  };
  ui.folderAnswers = {"/c/"};
  Click(*dialog, kSettingsAdd);
  tree->setCurrentItem(tree->topLevelItem(2));
  dialog->MoveSelectedLine(1);
  dialog->MoveSelectedLine(-1);
  tree->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
  tree->setCurrentItem(tree->topLevelItem(2));
  Click(*dialog, kSettingsRemove);
  EXPECT_EQ(shown(), "/a/- /c/+ ");
  EXPECT_FALSE(record.romPaths.at(0).enabled);  // the list shown is the record's

  qobject_cast<QComboBox*>(dialog->control(kSettingsListCombo))->setCurrentIndex(4);
  tree->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(shown(), "galaga <galaga>+ pacman <pacman>- puckman <puckman>- ");
}

// A program picked on Linux has no extension: every file is offered, and
// no ".exe" is added to the name picked. The real file dialog shows this
// before a name is picked; it is closed again without one.
TEST_F(SettingsDialogTest, EmulatorIsPickedAsItIsNamed) {
  auto dialog = Open(nullptr);  // the real file dialog
  Click(*dialog, kSettingsUseMame);
  std::string offered = "no file dialog";
  testing::WhenModalOpens(
      [&](QWidget* modal) {
        if (auto* files = qobject_cast<QFileDialog*>(modal))
          offered = FromQString(files->nameFilters().join(";") + " | suffix: " + files->defaultSuffix());
        qobject_cast<QDialog*>(modal)->reject();
      },
      3000);
  Click(*dialog, kSettingsMameBrowse);
  EXPECT_EQ(offered, "All files (*);M.A.M.E. executables (*.exe) | suffix: ");
  EXPECT_EQ(record.mameExe, "");
}

// Typing in the games search hides lines and ticks nothing; the buttons
// below tick or untick only the lines shown, and Cancel puts every game's
// tick back as it was.
TEST_F(SettingsDialogTest, SearchOnlyShowsSelectShownTicksAndCancelUndoes) {
  database.resize(3);
  const char* names[] = {"pacman", "galaga", "puckman"};
  for (size_t i = 0; i < 3; ++i) database[i].name = database[i].description = names[i];
  database[1].selected = false;
  record.currentPathList = PathListKind::kGames;
  record.parentClones = false;
  auto dialog = Open(&ui);
  const auto state = [&] {
    std::string text;
    for (int i = 0; i < 3; ++i)
      text += std::string(dialog->tree()->topLevelItem(i)->isHidden() ? "-" : "+") +
              (database[static_cast<size_t>(i)].selected ? "1" : "0");
    return text;
  };
  Type(*dialog, kSettingsGameFilter, "MAN");
  EXPECT_EQ(state(), "+1-0+1");
  Click(*dialog, kSettingsSelectNone);
  EXPECT_EQ(state(), "+0-0+0");
  Type(*dialog, kSettingsGameFilter, "");
  EXPECT_EQ(state(), "+0+0+0");
  Click(*dialog, kSettingsSelectAll);
  EXPECT_EQ(state(), "+1+1+1");
  static_cast<QDialog&>(*dialog).reject();  // Cancel, Escape and the close box
  EXPECT_EQ(state(), "+1+0+1");
}

}  // namespace
}  // namespace kestrel
