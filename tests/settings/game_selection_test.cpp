#include "settings/game_selection.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(GameSelectionTest, AppliesOnlyToTheDataItWasSavedWith) {
  SettingsRecord r;
  r.dataCrc = 0xABCD;
  r.storedDataCrc = 0xABCD;
  r.storedGameCount = 3;
  r.gameSelectionBytes = {1, 0, 2};  // only 1 selects

  GameList database(3);
  EXPECT_TRUE(ApplyGameSelection(r, database));
  EXPECT_TRUE(database[0].selected);
  EXPECT_FALSE(database[1].selected);
  EXPECT_FALSE(database[2].selected);

  auto keepsAllSelected = [](const SettingsRecord& record, size_t games) {
    GameList fresh(games);
    return !ApplyGameSelection(record, fresh) &&
           std::all_of(fresh.begin(), fresh.end(), [](const GameSet& g) { return g.selected; });
  };
  SettingsRecord otherData = r;
  otherData.dataCrc = 0xABCE;
  EXPECT_TRUE(keepsAllSelected(otherData, 3));
  EXPECT_TRUE(keepsAllSelected(r, 4));  // count differs

  SettingsRecord none;
  EXPECT_TRUE(keepsAllSelected(none, 0));
  // A count that does not match the bytes held is never trusted.
  SettingsRecord lying = r;
  lying.gameSelectionBytes.pop_back();
  EXPECT_TRUE(keepsAllSelected(lying, 3));
}

TEST(SettingsRecordTest, ResetGivesEveryFieldItsDefault) {
  SettingsRecord r;
  r.romPaths = {{"/x/", true}};
  r.fastscanFile = "other.fsc";
  r.activeRomPathCount = 1;
  ResetSettings(r);
  EXPECT_TRUE(r.romPaths.empty());
  EXPECT_EQ(r.fastscanFile, "fastscan.fsc");
  EXPECT_EQ(r.activeRomPathCount, 0);
}

}  // namespace
}  // namespace kestrel
