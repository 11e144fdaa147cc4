// The Rebuilder and Merger dialogs run their tools on real files.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>

#include "gui/gui_test_helpers.h"
#include "gui/merger_controls.h"
#include "gui/merger_dialog.h"
#include "gui/rebuilder_controls.h"
#include "gui/rebuilder_dialog.h"

namespace kestrel {
namespace {

using testing::RomData;
using testing::RomFiles;
using testing::ZipContents;

class ToolDialogsTest : public ::testing::Test {
 protected:
  ToolDialogsTest() {
    database = testing::MakeDatabase({{"pacman", "", {"a.1", "a.2"}},
                                      {"puckman", "pacman", {"a.1", "p.3"}},
                                      {"galaga", "", {"g.1"}},
                                      {"galagao", "galaga", {"g.1", "go.2"}}},
                                     root / "games.dat");
    std::filesystem::create_directories(roms);
    InitZipLibrary(zipLibrary);
  }

  static void Press(QWidget* button) { static_cast<QAbstractButton*>(button)->click(); }
  static void Type(QWidget* control, const std::string& text) {
    auto* edit = static_cast<QLineEdit*>(control);
    edit->setText(QString::fromStdString(text));
    emit edit->editingFinished();
  }

  testing::TempFolder root;
  std::string roms = root / "roms/";
  GameList database;
  SettingsRecord settings;
  ZipLibrary zipLibrary;
  ScriptedInterface person;
  int x = 0, y = 0;
};

// Loose files, one in a subfolder, and zip members under names that mean
// nothing are rebuilt into split sets.
TEST_F(ToolDialogsTest, RebuilderRebuildsShuffledFilesIntoSplitSets) {
  const std::string source = root / "source/";
  testing::WriteFile(source + "x1.bin", RomData("p.3"));
  testing::WriteFile(source + "sub/abc", RomData("a.1"));
  testing::WriteZip(source + "pack.zip", {{"zz", RomData("a.2")}, {"yy", RomData("g.1")}});
  testing::WriteFile(source + "readme.txt", "not a ROM");
  std::filesystem::create_directories(root / "temp");
  settings.tempFolder = root / "temp/";
  settings.rebuildMergeMode = 1;  // split sets
  settings.rebuildZip = settings.rebuildRecursive = settings.rebuildCreateLog = true;
  settings.rebuildLogfile = root / "rebuild.log";
  RebuilderDialog dialog({&settings, &database, &zipLibrary, &x, &y, &person});
  dialog.show();

  Type(dialog.control(kRebuilderSourceEdit), source);
  Type(dialog.control(kRebuilderDestinationEdit), roms);
  Press(dialog.control(kRebuilderRebuild));
  EXPECT_TRUE(person.messages.empty());
  EXPECT_EQ(person.progressTitles, std::vector<std::string>{"Rebuilding ROMs"});
  EXPECT_TRUE(dialog.lastOutcome().completed);
  EXPECT_EQ(ZipContents(roms + "pacman.zip"), RomFiles({"a.1", "a.2"}));
  EXPECT_EQ(ZipContents(roms + "puckman.zip"), RomFiles({"p.3"}));
  const std::string log = testing::ReadFile(root / "rebuild.log");
  EXPECT_NE(log.find("readme.txt [SKIPPED]"), std::string::npos) << log;
  EXPECT_TRUE(FileExists(source + "x1.bin"));  // sources stay unless asked
}

TEST_F(ToolDialogsTest, MergerMergesASplitFamilySplitsAndUnmergesIt) {
  testing::WriteZip(roms + "pacman.zip", RomFiles({"a.1", "a.2"}));
  testing::WriteZip(roms + "puckman.zip", RomFiles({"p.3"}));
  testing::WriteZip(roms + "galaga.zip", RomFiles({"g.1"}));
  testing::WriteZip(roms + "galagao.zip", RomFiles({"go.2"}));
  settings.activeRomPaths = {roms};
  settings.activeRomPathCount = 1;
  settings.mergeZip = settings.mergeCleanSet = settings.mergeRemoveOld = true;
  settings.mergeMode = 0;
  MergerDialog dialog({&settings, &database, &zipLibrary, &x, &y, &person});
  dialog.show();
  Press(dialog.control(kMergerMerge));
  EXPECT_EQ(settings.mergeMode, 1);
  Press(dialog.control(kMergerRun));
  EXPECT_EQ(person.progressTitles, std::vector<std::string>{"Merging ROMs"});
  EXPECT_EQ(ZipContents(roms + "pacman.zip"), RomFiles({"a.1", "a.2", "p.3"}));
  EXPECT_FALSE(FileExists(roms + "puckman.zip"));
  EXPECT_EQ(ZipContents(roms + "galaga.zip"), RomFiles({"g.1", "go.2"}));

  Press(dialog.control(kMergerSplit));
  Press(dialog.control(kMergerRun));  // "&Merge" in split form undoes the merge
  EXPECT_EQ(ZipContents(roms + "pacman.zip"), RomFiles({"a.1", "a.2"}));
  EXPECT_EQ(ZipContents(roms + "puckman.zip"), RomFiles({"p.3"}));

  Press(dialog.control(kMergerUnmerge));
  EXPECT_EQ(person.progressTitles.back(), "Unmerging ROMs");
  EXPECT_EQ(ZipContents(roms + "puckman.zip"), RomFiles({"a.1", "p.3"}));
  EXPECT_TRUE(person.messages.empty());
}

}  // namespace
}  // namespace kestrel
