#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <filesystem>

#include "app/scripted_interface.h"
#include "archive/zip_library.h"
#include "gui/rebuilder_controls.h"
#include "gui/rebuilder_dialog.h"
#include "gui/tool_fixture.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::RomData;
using testing::RomFiles;
using testing::ZipContents;

class RebuilderDialogTest : public ::testing::Test {
 protected:
  RebuilderDialogTest() {
    database = testing::MakeDatabase({{"pacman", "", {"a.1", "a.2"}},
                                      {"puckman", "pacman", {"a.1", "p.3"}},
                                      {"galaga", "", {"g.1"}}},
                                     root / "games.dat");
    std::filesystem::create_directories(root / "temp");
    std::filesystem::create_directories(source);
    std::filesystem::create_directories(destination);
    settings.tempFolder = root / "temp/";
    settings.rebuildMergeMode = 1;  // split sets
    settings.rebuildZip = true;
    settings.rebuildRecursive = true;
    InitZipLibrary(zipLibrary);
  }

  // The dialog as the main window opens it; `person` null shows Qt's own
  // windows.
  std::unique_ptr<RebuilderDialog> Open(UserInterface* person) {
    RebuilderDialogContext context{&settings, &database, &zipLibrary, &x, &y, person};
    auto dialog = std::make_unique<RebuilderDialog>(context);
    dialog->show();
    return dialog;
  }

  void Type(RebuilderDialog& dialog, int id, const std::string& text) {
    auto* edit = static_cast<QLineEdit*>(dialog.control(id));
    edit->setText(QString::fromStdString(text));
    emit edit->editingFinished();
  }

  void Press(RebuilderDialog& dialog, int id) { static_cast<QAbstractButton*>(dialog.control(id))->click(); }
  QString Shown(RebuilderDialog& dialog, int id) { return static_cast<QLineEdit*>(dialog.control(id))->text(); }

  // Three loose files, one under a subfolder, and a zip of two members
  // under names that mean nothing, beside a file that matches no ROM.
  void WriteShuffledSources() {
    testing::WriteFile(source + "x1.bin", RomData("p.3"));
    testing::WriteFile(source + "sub/abc", RomData("a.1"));
    testing::WriteZip(source + "pack.zip", {{"zz", RomData("a.2")}, {"yy", RomData("g.1")}});
    testing::WriteFile(source + "readme.txt", "not a ROM");
  }

  testing::TempFolder root;
  std::string source = root / "source/";
  std::string destination = root / "rebuilt/";
  GameList database;
  SettingsRecord settings;
  ZipLibrary zipLibrary;
  ScriptedInterface person;
  int x = 0;
  int y = 0;
};

// A folder the rebuilder refuses is emptied in the dialog too; once both
// are right, the shuffled files are rebuilt into split sets.
TEST_F(RebuilderDialogTest, ShowsTheEmptiedFolderAndRebuildsShuffledFilesIntoSplitSets) {
  WriteShuffledSources();
  settings.rebuildCreateLog = true;
  settings.rebuildLogfile = root / "rebuild.log";
  auto dialog = Open(&person);
  Type(*dialog, kRebuilderSourceEdit, root / "missing");
  Type(*dialog, kRebuilderDestinationEdit, destination);
  Press(*dialog, kRebuilderRebuild);
  ASSERT_EQ(person.messages.size(), 1u);
  EXPECT_EQ(person.messages[0].text, "Can't Access '" + root / "missing/'");
  EXPECT_EQ(settings.rebuildSource, "");
  EXPECT_EQ(Shown(*dialog, kRebuilderSourceEdit), "");
  EXPECT_EQ(Shown(*dialog, kRebuilderDestinationEdit).toStdString(), destination);

  Type(*dialog, kRebuilderSourceEdit, source);
  Type(*dialog, kRebuilderDestinationEdit, source + "sub/");
  EXPECT_FALSE(dialog->Rebuild());
  EXPECT_EQ(person.messages.size(), 2u);  // the folder conflict
  EXPECT_EQ(Shown(*dialog, kRebuilderDestinationEdit), "");
  EXPECT_EQ(Shown(*dialog, kRebuilderSourceEdit).toStdString(), source);
  EXPECT_TRUE(person.progressTitles.empty());

  Type(*dialog, kRebuilderDestinationEdit, destination);
  Press(*dialog, kRebuilderRebuild);
  EXPECT_EQ(person.messages.size(), 2u);
  EXPECT_EQ(person.progressTitles, std::vector<std::string>{"Rebuilding ROMs"});
  EXPECT_TRUE(dialog->lastOutcome().completed);
  EXPECT_EQ(ZipContents(destination + "pacman.zip"), RomFiles({"a.1", "a.2"}));
  EXPECT_EQ(ZipContents(destination + "puckman.zip"), RomFiles({"p.3"}));
  const std::string log = testing::ReadFile(root / "rebuild.log");
  EXPECT_NE(log.find("readme.txt [SKIPPED]"), std::string::npos) << log;
  EXPECT_TRUE(FileExists(source + "x1.bin"));  // sources stay unless asked
}

}  // namespace
}  // namespace kestrel
