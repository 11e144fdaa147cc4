#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <filesystem>

#include "app/scripted_interface.h"
#include "archive/zip_library.h"
#include "gui/merger_controls.h"
#include "gui/merger_dialog.h"
#include "gui/tool_fixture.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::RomFiles;
using testing::ZipContents;

class MergerDialogTest : public ::testing::Test {
 protected:
  MergerDialogTest() {
    database = testing::MakeDatabase({{"pacman", "", {"a.1", "a.2"}},
                                      {"puckman", "pacman", {"a.1", "p.3"}},
                                      {"galaga", "", {"g.1"}},
                                      {"galagao", "galaga", {"g.1", "go.2"}}},
                                     root / "games.dat");
    std::filesystem::create_directories(roms);
    settings.activeRomPaths = {roms};
    settings.activeRomPathCount = 1;
    InitZipLibrary(zipLibrary);
  }

  std::unique_ptr<MergerDialog> Open(UserInterface* person) {
    MergerDialogContext context{&settings, &database, &zipLibrary, &x, &y, person};
    auto dialog = std::make_unique<MergerDialog>(context);
    dialog->show();
    return dialog;
  }

  void Press(MergerDialog& dialog, int id) { static_cast<QAbstractButton*>(dialog.control(id))->click(); }
  QLineEdit* FolderEdit(MergerDialog& dialog) { return static_cast<QLineEdit*>(dialog.control(kMergerFolderEdit)); }

  void WriteSplitSets() {
    testing::WriteZip(roms + "pacman.zip", RomFiles({"a.1", "a.2"}));
    testing::WriteZip(roms + "puckman.zip", RomFiles({"p.3"}));
    testing::WriteZip(roms + "galaga.zip", RomFiles({"g.1"}));
    testing::WriteZip(roms + "galagao.zip", RomFiles({"go.2"}));
  }

  testing::TempFolder root;
  std::string roms = root / "roms/";
  GameList database;
  SettingsRecord settings;
  ZipLibrary zipLibrary;
  ScriptedInterface person;
  int x = 0;
  int y = 0;
};

TEST_F(MergerDialogTest, ChecksTellWhyNothingRunsAndControlsWriteTheSettings) {
  settings.mergePlacement = 0;
  auto dialog = Open(&person);
  Press(*dialog, kMergerToFolder);
  EXPECT_EQ(settings.mergePlacement, 1);

  // A destination that is not there: told, emptied, nothing runs.
  FolderEdit(*dialog)->setText(QString::fromStdString(root / "merged"));
  EXPECT_FALSE(dialog->Run(MergeButton::kMerge));
  ASSERT_EQ(person.messages.size(), 1u);
  EXPECT_EQ(person.messages[0].text, "Can't Access '" + root / "merged/'");
  EXPECT_EQ(FolderEdit(*dialog)->text(), "");
  EXPECT_EQ(settings.mergeDestination, "");

  person.folderAnswers.push_back(roms);
  Press(*dialog, kMergerFolderBrowse);
  EXPECT_EQ(settings.mergeDestination, roms);
  EXPECT_EQ(FolderEdit(*dialog)->text().toStdString(), roms);
  EXPECT_TRUE(person.progressTitles.empty());
}

TEST_F(MergerDialogTest, MergesASplitFamilyAndSplitsItAgain) {
  WriteSplitSets();
  settings.mergeZip = true;
  settings.mergeCleanSet = true;
  settings.mergeRemoveOld = true;
  settings.mergeMode = 0;
  auto dialog = Open(&person);
  Press(*dialog, kMergerMerge);
  EXPECT_EQ(settings.mergeMode, 1);
  Press(*dialog, kMergerRun);
  EXPECT_EQ(person.progressTitles, std::vector<std::string>{"Merging ROMs"});
  EXPECT_EQ(ZipContents(roms + "pacman.zip"), RomFiles({"a.1", "a.2", "p.3"}));
  EXPECT_FALSE(FileExists(roms + "puckman.zip"));
  EXPECT_EQ(ZipContents(roms + "galaga.zip"), RomFiles({"g.1", "go.2"}));

  Press(*dialog, kMergerSplit);
  Press(*dialog, kMergerRun);  // "&Merge" in split form undoes the merge
  EXPECT_EQ(ZipContents(roms + "pacman.zip"), RomFiles({"a.1", "a.2"}));
  EXPECT_EQ(ZipContents(roms + "puckman.zip"), RomFiles({"p.3"}));

  Press(*dialog, kMergerUnmerge);
  EXPECT_EQ(person.progressTitles.back(), "Unmerging ROMs");
  EXPECT_EQ(ZipContents(roms + "puckman.zip"), RomFiles({"a.1", "p.3"}));
  EXPECT_TRUE(person.messages.empty());
}

// Cancel in the real progress window ends the run after the family being
// worked on (galaga comes first); the next family stays as it was.
TEST_F(MergerDialogTest, CancelEndsTheRunAfterTheCurrentFamily) {
  settings.mergeMode = 1;
  WriteSplitSets();
  auto dialog = Open(nullptr);
  bool pressed = false;
  testing::PressCancelWhenProgressShows(dialog.get(), true, &pressed);
  EXPECT_TRUE(dialog->Run(MergeButton::kMerge));
  EXPECT_TRUE(pressed);
  EXPECT_TRUE(dialog->lastOutcome().stopped);
  EXPECT_EQ(ZipContents(roms + "galaga.zip"), RomFiles({"g.1", "go.2"}));
  EXPECT_EQ(ZipContents(roms + "pacman.zip"), RomFiles({"a.1", "a.2"}));
  EXPECT_EQ(ZipContents(roms + "puckman.zip"), RomFiles({"p.3"}));
}

}  // namespace
}  // namespace kestrel
