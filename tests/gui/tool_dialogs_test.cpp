// The Rebuilder and Merger dialogs run their tools on real files: their
// controls reach the settings, a removing run is asked for first, and the
// summary tells what was done.
#include <gtest/gtest.h>

#include <filesystem>

#include "gui/gui_test_helpers.h"
#include "gui/merger_controls.h"
#include "gui/merger_dialog.h"
#include "gui/rebuilder_controls.h"
#include "gui/rebuilder_dialog.h"
#include "gui/undo_actions.h"

namespace kestrel {
namespace {

using testing::Click;
using testing::RomData;
using testing::SetsIn;
using testing::Type;
using testing::WriteSet;

class ToolDialogsTest : public ::testing::Test {
 protected:
  ToolDialogsTest() { std::filesystem::create_directories(roms); }

  testing::TempFolder root;
  std::string roms = root / "roms/";
  GameList database = testing::MakeDatabase({{"pacman", "", {"a.1", "a.2"}}, {"puckman", "pacman", {"a.1", "p.3"}},
                                             {"galaga", "", {"g.1"}}, {"galagao", "galaga", {"g.1", "go.2"}}},
                                            root / "games.dat");
  SettingsRecord settings;
  ZipLibrary zipLibrary;
  ScriptedInterface person;
  int x = 0, y = 0;
};

// Loose files, one in a subfolder, and zip members under names that mean
// nothing are rebuilt into split sets; sources go only once confirmed.
TEST_F(ToolDialogsTest, RebuilderRebuildsShuffledFilesIntoSplitSets) {
  const std::string source = root / "source/";
  testing::WriteFile(source + "x1.bin", RomData("p.3"));
  testing::WriteFile(source + "sub/abc", RomData("a.1"));
  testing::WriteFile(source + "pack.zip", testing::StoredZip({{"zz", RomData("a.2")}, {"yy", RomData("g.1")}}));
  testing::WriteFile(source + "readme.txt", "not a ROM");
  std::filesystem::create_directories(root / "temp");
  settings.tempFolder = root / "temp/";
  settings.rebuildMergeMode = SetLayout::kSplit;
  settings.rebuildZip = settings.rebuildRecursive = true;
  RebuilderDialog dialog({&settings, &database, &zipLibrary, &x, &y, &person, ""});
  dialog.show();

  Type(dialog, kRebuilderSourceEdit, source);
  Type(dialog, kRebuilderDestinationEdit, roms);
  Click(dialog, kRebuilderRebuild);
  const std::string done = "Rebuilding Done.\n\n5 Source Files: 4 Matched, 1 Skipped (No ROM Needs Them).\n";
  // No question: nothing is removed.
  EXPECT_EQ(person.MessageTexts(), std::vector<std::string>{done + "4 ROMs Written Into 3 Sets."});
  EXPECT_EQ(person.messages[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(person.progressTitles, std::vector<std::string>{"Rebuilding ROMs"});
  EXPECT_EQ(SetsIn(roms), "galaga.zip: g.1; pacman.zip: a.1 a.2; puckman.zip: p.3");
  EXPECT_TRUE(FileExists(source + "x1.bin"));  // sources stay unless asked

  // Removing sources is asked first, with how many may go; No keeps them.
  person.messages.clear();
  person.messageAnswers = {kResultNo, kResultYes};
  Click(dialog, kRebuilderRemoveSources);
  Click(dialog, kRebuilderRebuild);
  ASSERT_EQ(person.messages.size(), 1u);
  EXPECT_EQ(person.messages[0].buttons, MessageButtons::kYesNo);
  EXPECT_NE(person.messages[0].text.find("up to 4 source files in '" + source + "' and its subfolders"),
            std::string::npos) << person.messages[0].text;
  EXPECT_EQ(person.progressTitles.size(), 1u);
  Click(dialog, kRebuilderRebuild);
  ASSERT_EQ(person.messages.size(), 3u);
  // Sources whose ROMs are already in place go too.
  EXPECT_EQ(person.messages[2].text, done + "0 ROMs Written Into 0 Sets.\n4 Sources Removed.");
  EXPECT_FALSE(FileExists(source + "x1.bin"));
  EXPECT_TRUE(FileExists(source + "readme.txt"));
}

// Each button picks its layout; Remove Old and Clean Set are asked for
// first, and No leaves every set alone.
TEST_F(ToolDialogsTest, MergerMergesASplitFamilyAndUnmergesIt) {
  WriteSet(roms + "pacman.zip", {"a.1", "a.2"});
  WriteSet(roms + "puckman.zip", {"p.3"});
  WriteSet(roms + "galaga.zip", {"g.1"});
  WriteSet(roms + "galagao.zip", {"go.2"});
  const std::string split = SetsIn(roms);
  settings.romPaths = {{roms, true}};
  settings.mergeZip = settings.mergeCleanSet = settings.mergeRemoveOld = true;
  settings.mergeMode = SetLayout::kSplit;
  MergerDialog dialog({&settings, &database, &zipLibrary, &x, &y, &person, ""});
  dialog.show();
  Click(dialog, kMergerMerge);
  EXPECT_EQ(settings.mergeMode, SetLayout::kMerged);
  person.messageAnswers = {kResultNo};
  Click(dialog, kMergerRun);
  ASSERT_EQ(person.messages.size(), 1u);
  EXPECT_EQ(person.messages[0].text.rfind("Merging 2 Families (4 Sets).\n\nRemove Old: up to 2 clone sets", 0), 0u)
      << person.messages[0].text;
  EXPECT_TRUE(person.progressTitles.empty());
  EXPECT_FALSE(dialog.lastOutcome().started);
  EXPECT_EQ(SetsIn(roms), split);
  Click(dialog, kMergerRun);
  ASSERT_EQ(person.messages.size(), 3u);
  EXPECT_EQ(person.messages[2].text, "Merging Done.\n\n2 Families Rebuilt, 0 Skipped, 0 Failed.");
  EXPECT_EQ(SetsIn(roms), "galaga.zip: g.1 go.2; pacman.zip: a.1 a.2 p.3");

  Click(dialog, kMergerUnmerge);
  EXPECT_EQ(SetsIn(roms), "galaga.zip: g.1; galagao.zip: g.1 go.2; pacman.zip: a.1 a.2; puckman.zip: a.1 p.3");
  EXPECT_EQ(person.progressTitles, (std::vector<std::string>{"Merging ROMs", "Unmerging ROMs"}));
  // Unmerging asks its own question: Clean Set only, every clone set stays.
  EXPECT_EQ(person.messages.at(3).text.rfind("Unmerging 2 Families (4 Sets).\n\nClean Set: ", 0), 0u);
}

// A rebuild from the dialog keeps the undo journal of the data folder, and
// "Undo Last Run" asks, then takes the new set away and puts the removed
// source back; there is then nothing left to undo.
TEST_F(ToolDialogsTest, ARebuildFromTheDialogIsUndoneFromTheMenu) {
  const std::string source = root / "source/", data = root / "data/";
  testing::WriteFile(source + "x1.bin", RomData("p.3"));
  std::filesystem::create_directories(root / "temp");
  std::filesystem::create_directories(data);
  settings.tempFolder = root / "temp/";
  settings.rebuildZip = settings.rebuildRemoveSources = true;
  RebuilderDialog dialog({&settings, &database, &zipLibrary, &x, &y, &person, data});
  dialog.show();
  Type(dialog, kRebuilderSourceEdit, source);
  Type(dialog, kRebuilderDestinationEdit, roms);
  person.messageAnswers = {kResultYes, kResultOk, kResultYes, kResultOk, kResultOk};
  Click(dialog, kRebuilderRebuild);
  ASSERT_EQ(SetsIn(roms), "puckman.zip: p.3");
  ASSERT_FALSE(FileExists(source + "x1.bin"));

  person.messages.clear();
  UndoLastRun(&person, data);
  EXPECT_EQ(SetsIn(roms), "");
  EXPECT_EQ(testing::ReadFile(source + "x1.bin"), RomData("p.3"));
  ASSERT_EQ(person.messages.size(), 2u);
  EXPECT_EQ(person.messages[0].text.rfind("Undo run 1 (rebuild, started ", 0), 0u) << person.messages[0].text;
  EXPECT_EQ(person.messages[1].icon, MessageIcon::kInformation) << person.messages[1].text;
  UndoLastRun(&person, data);
  EXPECT_EQ(person.messages.back().text, "There is no run to undo.");
}

}  // namespace
}  // namespace kestrel
