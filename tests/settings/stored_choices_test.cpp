// Choices a profile keeps that only make sense against something else: the
// game selection against the game data, layouts against a tool's table,
// paths against their check boxes, the merge destination against placement.

#include <gtest/gtest.h>

#include "settings/enabled_paths.h"
#include "settings/game_selection.h"
#include "settings/layout_codes.h"
#include "settings/tool_folders.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

TEST(StoredChoicesTest, GameSelectionAppliesOnlyToTheDataItWasSavedFor) {
  SettingsRecord record;
  record.storedDataCrc = 0xABCD;
  record.storedGameCount = 3;
  record.gameSelectionBytes = {1, 0, 2};
  GameList database(3);
  for (GameSet& game : database) game.selected = true;
  EXPECT_FALSE(ApplyGameSelection(record, 0xABCE, database));
  record.gameSelectionBytes.pop_back();
  EXPECT_FALSE(ApplyGameSelection(record, 0xABCD, database));
  EXPECT_TRUE(database[1].selected);
  record.gameSelectionBytes.push_back(2);
  EXPECT_TRUE(ApplyGameSelection(record, 0xABCD, database));
  EXPECT_EQ(std::vector<bool>({database[0].selected, database[1].selected, database[2].selected}),
            std::vector<bool>({true, false, false}));
}

TEST(StoredChoicesTest, LayoutCodesStayInsideTheirTable) {
  EXPECT_EQ(LayoutCode(SetLayout::kNonMerged, kMergerLayoutCodes), -1);
  EXPECT_EQ(LayoutCode(SetLayout::kMerged, kToolLayoutCodes), 2);
  EXPECT_EQ(LayoutOfCode(1, kMergerLayoutCodes), SetLayout::kMerged);
  EXPECT_EQ(LayoutOfCode(2, kMergerLayoutCodes), std::nullopt);
  EXPECT_EQ(LayoutOfCode(-1, kToolLayoutCodes), std::nullopt);
}

TEST(StoredChoicesTest, OnlyTickedPathsAndAPlacedDestinationCount) {
  testing::TempFolder root;
  SettingsRecord settings;
  settings.romPaths = {{"/a"}, {"/b/", false}, {""}, {"/c/"}};
  EXPECT_EQ(EnabledPaths(settings.romPaths), (std::vector<std::string>{"/a/", "/c/"}));
  settings.mergeDestination = root / "nowhere";
  EXPECT_EQ(CheckMergerFolders(settings).fault, FolderFault::kNone);
  settings.mergePlacement = MergePlacement::kIntoDestination;
  EXPECT_EQ(CheckMergerFolders(settings).fault, FolderFault::kCantAccess);
  settings.mergeDestination = root.path();
  EXPECT_EQ(CheckMergerFolders(settings).fault, FolderFault::kNone);
}

}  // namespace
}  // namespace kestrel
