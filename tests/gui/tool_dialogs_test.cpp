// The Rebuilder and Merger dialogs run their tools on real files.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <filesystem>

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
  settings.rebuildMergeMode = SetLayout::kSplit;  // split sets
  settings.rebuildZip = settings.rebuildRecursive = settings.rebuildCreateLog = true;
  settings.rebuildLogfile = root / "rebuild.log";
  RebuilderDialog dialog({&settings, &database, &zipLibrary, &x, &y, &person});
  dialog.show();

  Type(dialog.control(kRebuilderSourceEdit), source);
  Type(dialog.control(kRebuilderDestinationEdit), roms);
  Press(dialog.control(kRebuilderRebuild));
  ASSERT_EQ(person.messages.size(), 1u);  // no question: nothing is removed
  EXPECT_EQ(person.messages[0].text,
            "Rebuilding Done.\n\n5 Source Files: 4 Matched, 1 Skipped (No ROM Needs Them).\n"
            "4 ROMs Written Into 3 Sets.");
  EXPECT_EQ(person.messages[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(person.progressTitles, std::vector<std::string>{"Rebuilding ROMs"});
  EXPECT_TRUE(dialog.lastOutcome().completed);
  EXPECT_EQ(ZipContents(roms + "pacman.zip"), RomFiles({"a.1", "a.2"}));
  EXPECT_EQ(ZipContents(roms + "puckman.zip"), RomFiles({"p.3"}));
  const std::string log = testing::ReadFile(root / "rebuild.log");
  EXPECT_NE(log.find("readme.txt [SKIPPED]"), std::string::npos) << log;
  EXPECT_TRUE(FileExists(source + "x1.bin"));  // sources stay unless asked

  // Removing sources is asked first, with how many may go; No keeps them.
  person.messages.clear();
  person.messageAnswers = {kResultNo, kResultYes};
  Press(dialog.control(kRebuilderRemoveSources));
  Press(dialog.control(kRebuilderRebuild));
  ASSERT_EQ(person.messages.size(), 1u);
  EXPECT_EQ(person.messages[0].buttons, MessageButtons::kYesNo);
  EXPECT_NE(person.messages[0].text.find("up to 4 source files in '" + source + "' and its subfolders"),
            std::string::npos) << person.messages[0].text;
  EXPECT_EQ(person.progressTitles.size(), 1u);
  Press(dialog.control(kRebuilderRebuild));
  ASSERT_EQ(person.messages.size(), 3u);
  EXPECT_NE(person.messages[2].text.find("\n4 Sources Removed."), std::string::npos) << person.messages[2].text;
  EXPECT_FALSE(FileExists(source + "x1.bin"));
  EXPECT_TRUE(FileExists(source + "readme.txt"));
}

TEST_F(ToolDialogsTest, MergerMergesASplitFamilySplitsAndUnmergesIt) {
  testing::WriteZip(roms + "pacman.zip", RomFiles({"a.1", "a.2"}));
  testing::WriteZip(roms + "puckman.zip", RomFiles({"p.3"}));
  testing::WriteZip(roms + "galaga.zip", RomFiles({"g.1"}));
  testing::WriteZip(roms + "galagao.zip", RomFiles({"go.2"}));
  settings.romPaths = {{roms, true}};
  settings.mergeZip = settings.mergeCleanSet = settings.mergeRemoveOld = true;
  settings.mergeMode = SetLayout::kSplit;
  MergerDialog dialog({&settings, &database, &zipLibrary, &x, &y, &person});
  dialog.show();
  Press(dialog.control(kMergerMerge));
  EXPECT_EQ(settings.mergeMode, SetLayout::kMerged);
  // Remove Old and Clean Set are asked for first; No leaves every set alone.
  person.messageAnswers = {kResultNo};
  Press(dialog.control(kMergerRun));
  ASSERT_EQ(person.messages.size(), 1u);
  EXPECT_EQ(person.messages[0].text.rfind("Merging 2 Families (4 Sets).\n\nRemove Old: up to 2 clone sets", 0), 0u)
      << person.messages[0].text;
  EXPECT_TRUE(person.progressTitles.empty());
  EXPECT_FALSE(dialog.lastOutcome().started);
  EXPECT_TRUE(FileExists(roms + "puckman.zip"));
  Press(dialog.control(kMergerRun));
  ASSERT_EQ(person.messages.size(), 3u);
  EXPECT_EQ(person.messages[2].text, "Merging Done.\n\n2 Families Rebuilt, 0 Skipped, 0 Failed.");
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

  // A work folder left by an interrupted run is cleared and named in the summary.
  std::filesystem::create_directories(roms + "galaga.kpw");
  person.messages.clear();
  Press(dialog.control(kMergerUnmerge));
  ASSERT_EQ(person.messages.size(), 2u);
  EXPECT_EQ(person.messages[1].text.rfind("Unmerging Done.\n\n2 Families Rebuilt, 0 Skipped, 0 Failed.\n\n"
                                          "Cleared (left by an interrupted run):\n  " + roms + "galaga.kpw", 0), 0u)
      << person.messages[1].text;
  EXPECT_FALSE(FileExists(roms + "galaga.kpw"));
}

}  // namespace
}  // namespace kestrel
