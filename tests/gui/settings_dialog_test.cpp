#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <QPushButton>
#include <QTreeWidget>

#include "app/scripted_interface.h"
#include "gui/games_list.h"
#include "gui/path_list_editing.h"
#include "gui/gui_test_helpers.h"
#include "gui/qt_text.h"
#include "gui/settings_dialog.h"
#include "platform/file_system.h"
#include "settings/profile.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;
using testing::WhenModalOpens;
using testing::WriteFile;

GameSet Game(const char* name, int parent, bool withRoms, bool withSamples) {
  GameSet game;
  game.name = name;
  game.description = std::string("The ") + name;
  game.parentIndex = parent;
  game.hasParent = parent >= 0;
  if (withRoms) game.roms.resize(1);
  if (withSamples) game.samples.resize(1);
  return game;
}

// pacman is the parent of puckman and pacmanf; galaga has samples only.
GameList Family() {
  GameList games = {Game("galaga", -1, false, true), Game("pacman", -1, true, false),
                    Game("pacmanf", 1, true, false), Game("puckman", 1, true, false),
                    Game("qbert", -1, true, false)};
  for (size_t i = 0; i < games.size(); ++i) games[i].index = static_cast<int>(i);
  games[1].isParent = true;
  games[1].clones = {{"", 2}, {"", 3}};
  return games;
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  SettingsDialogTest() : database(Family()) {}

  std::unique_ptr<SettingsDialog> Open() {
    SettingsDialogContext context{&record, &rawGames, &database, folder.path(), &zipLevel,
                                  &x, &y, &ui};
    return std::make_unique<SettingsDialog>(context);
  }

  static QStringList TreeLines(SettingsDialog& dialog) {
    QStringList lines;
    for (int i = 0; i < dialog.tree()->topLevelItemCount(); ++i)
      lines << dialog.tree()->topLevelItem(i)->text(0);
    return lines;
  }

  static void Type(QWidget* edit, const QString& text) {
    auto* line = qobject_cast<QLineEdit*>(edit);
    line->setText(text);
    emit line->editingFinished();
  }

  static void Click(SettingsDialog& dialog, int id) {
    qobject_cast<QAbstractButton*>(dialog.control(id))->click();
  }

  TempFolder folder;
  SettingsRecord record;
  GameList rawGames;
  GameList database;
  ScriptedInterface ui;
  char zipLevel = '9';
  int x = 0;
  int y = 0;
};

TEST_F(SettingsDialogTest, PathListAddMoveAndRemove) {
  CreateFolder(folder / "Roms/");
  CreateFolder(folder / "more/");
  auto dialog = Open();
  ui.folderAnswers = {folder / "Roms/", folder / "more/", folder / "ROMS/"};
  for (int i = 0; i < 3; ++i) Click(*dialog, kSettingsAdd);
  // The folder given in other case is the one already listed.
  ASSERT_EQ(record.romPaths.size(), 2u);
  EXPECT_EQ(ui.questions.size(), 0u);
  EXPECT_EQ(TreeLines(*dialog), QStringList({ToQString(folder / "Roms/"), ToQString(folder / "more/")}));

  dialog->tree()->setCurrentItem(dialog->tree()->topLevelItem(1));
  dialog->MoveSelectedLine(-1);
  EXPECT_EQ(record.romPaths[0].path, folder / "more/");
  EXPECT_EQ(record.romPaths[0].position, 0);
  EXPECT_EQ(dialog->tree()->currentItem(), dialog->tree()->topLevelItem(0));
  dialog->MoveSelectedLine(-1);  // already first
  EXPECT_EQ(record.romPaths[0].path, folder / "more/");

  dialog->tree()->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(record.romPaths[1].enabled);

  Click(*dialog, kSettingsRemove);
  ASSERT_EQ(record.romPaths.size(), 1u);
  EXPECT_EQ(record.romPaths[0].path, folder / "Roms/");
  EXPECT_EQ(record.romPaths[0].position, 0);
}

TEST_F(SettingsDialogTest, GamesFilterSelectsSetsOnDiskWithTheirFamily) {
  WriteFile(folder / "roms/PUCKMAN.zip", "z");
  CreateFolder(folder / "roms/qbert/");
  WriteFile(folder / "samples/galaga.zip", "z");
  WriteFile(folder / "off/pacman.zip", "z");
  AddPath(record.romPaths, folder / "roms/");
  AddPath(record.romPaths, folder / "off/");
  record.romPaths[1].enabled = false;
  AddPath(record.samplePaths, folder / "samples/");
  record.currentPathList = 4;
  auto dialog = Open();

  Type(dialog->control(kSettingsGameFilter), "puck*; qbert ;");
  EXPECT_EQ(record.gameFilter, "puck*; qbert ;");
  std::vector<bool> selected;
  for (const GameSet& game : database) selected.push_back(game.selected);
  // puckman brings its parent and its sister; galaga's samples were not asked for.
  EXPECT_EQ(selected, std::vector<bool>({false, true, true, true, true}));
  EXPECT_EQ(dialog->tree()->topLevelItem(0)->checkState(0), Qt::Unchecked);
  EXPECT_EQ(dialog->tree()->topLevelItem(2)->checkState(0), Qt::Checked);

  // Unticking a clone unticks the parent and every sister clone.
  dialog->tree()->topLevelItem(3)->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(database[1].selected);
  EXPECT_FALSE(database[2].selected);
  EXPECT_EQ(dialog->tree()->topLevelItem(2)->checkState(0), Qt::Unchecked);
  EXPECT_TRUE(database[4].selected);

  // Avail.Games adds every set on disk without clearing; sample sets count.
  Click(*dialog, kSettingsAdd);
  for (size_t i = 0; i < database.size(); ++i) EXPECT_TRUE(database[i].selected) << i;

  // An empty filter changes nothing.
  Click(*dialog, kSettingsSelectNone);
  EXPECT_FALSE(database[4].selected);
  Type(dialog->control(kSettingsGameFilter), " ");
  EXPECT_FALSE(database[4].selected);

  // A set that lies only in the disabled ROM path is not looked at.
  std::filesystem::rename(folder / "roms/qbert", folder / "off/qbert");
  Type(dialog->control(kSettingsGameFilter), "qb*");
  for (size_t i = 0; i < database.size(); ++i) EXPECT_FALSE(database[i].selected) << i;
}

TEST_F(SettingsDialogTest, ZipLevelIsClampedAndLoadReplacesTheRecord) {
  record.loadedDatfile = "/arcade/mame.dat";
  auto dialog = Open();
  Type(dialog->control(kSettingsZipLevel), "12");
  EXPECT_EQ(record.zipLevel, 9);
  Type(dialog->control(kSettingsZipLevel), "-3");
  EXPECT_EQ(record.zipLevel, 0);
  EXPECT_EQ(zipLevel, '0');  // reaches the zip library
  Type(dialog->control(kSettingsZipLevel), "fast");
  EXPECT_EQ(record.zipLevel, 0);  // no number: the level stays
  EXPECT_EQ(ClampZipLevel("99999999999999999999", 4), 9);

  EXPECT_EQ(dialog->windowTitle(), "Kestrel Settings | Data In Memory: mame.dat");

  SettingsRecord saved;
  saved.zipLevel = 4;
  saved.tempFolder = folder.path();
  ASSERT_TRUE(SaveProfile(saved, folder / "other.kpf", GameList()));
  WriteFile(folder / "broken.kpf", "KPFOPX");
  ui.fileAnswers = {folder / "broken.kpf", folder / "other.kpf"};

  Click(*dialog, kSettingsLoad);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Error While Loading Profile");
  EXPECT_EQ(record.loadedDatfile, "/arcade/mame.dat");  // kept

  Click(*dialog, kSettingsLoad);
  EXPECT_EQ(record.zipLevel, 4);
  EXPECT_EQ(dialog->windowTitle(), "Kestrel Settings | Data In Memory: <NO DATA>");
  EXPECT_EQ(qobject_cast<QLineEdit*>(dialog->control(kSettingsZipLevel))->text(), "4");
}

TEST_F(SettingsDialogTest, OkAcquiresDataFromTheDatfileAndChecksFolders) {
  WriteFile(folder / "small.dat", testing::SmallDatfile());
  database.clear();
  record.makeBackups = true;
  auto dialog = Open();
  Click(*dialog, kSettingsUseDatfile);
  qobject_cast<QLineEdit*>(dialog->control(kSettingsDatfileEdit))->setText(ToQString(folder / "small.dat"));
  qobject_cast<QLineEdit*>(dialog->control(kSettingsBackupEdit))->setText(ToQString(folder / "nowhere"));
  qobject_cast<QLineEdit*>(dialog->control(kSettingsTempEdit))->setText(ToQString(folder.path()));
  dialog->move(40, 30);
  Click(*dialog, kSettingsOk);

  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  ASSERT_EQ(database.size(), 3u);
  EXPECT_TRUE(record.dataFromDatfile);
  EXPECT_EQ(record.dataSource, 1);
  EXPECT_EQ(record.backupFolder, "");
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>({"No Valid Backupfolder"}));
  EXPECT_EQ(x, 40);
  EXPECT_EQ(y, 30);
}

// A program picked on Linux has no extension: every file is offered, and
// the name is taken as picked, without ".exe".
TEST_F(SettingsDialogTest, EmulatorIsPickedAsItIsNamed) {
  WriteFile(folder / "games/mame", "#!/bin/sh\n");
  SettingsDialogContext context{&record, &rawGames, &database, folder.path(), &zipLevel,
                                &x, &y, nullptr};  // the real file dialog
  SettingsDialog dialog(context);
  Click(dialog, kSettingsUseMame);
  QStringList filters;
  // A name the dialog refuses ("mame.exe File not found.") would leave a
  // window open after the pick; this ends it so that the test fails instead
  // of hanging. It starts only once the pick is made: opening a file dialog
  // can take seconds on a busy machine.
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
        files->selectFile(ToQString(folder / "games/mame"));
        rescue.start(3000);
        QMetaObject::invokeMethod(files, "accept");
      },
      3000);
  Click(dialog, kSettingsMameBrowse);
  rescue.stop();
  ASSERT_FALSE(filters.isEmpty());
  EXPECT_EQ(filters.first(), "All files (*)");
  EXPECT_EQ(record.mameExe, folder / "games/mame");
  EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.control(kSettingsMameEdit))->text().toStdString(),
            folder / "games/mame");
}

}  // namespace
}  // namespace kestrel
