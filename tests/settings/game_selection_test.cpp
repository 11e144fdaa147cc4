#include "settings/game_selection.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kestrel {
namespace {

TEST(GameSelectionTest, AppliesOnlyToTheDataItWasSavedWith) {
  SettingsRecord r;
  r.dataCrc = r.storedDataCrc = 0xABCD;
  r.storedGameCount = 3;
  r.gameSelectionBytes = {1, 0, 2};  // only 1 selects
  GameList database(3);
  EXPECT_TRUE(ApplyGameSelection(r, database));
  EXPECT_EQ(database[0].selected + 2 * database[1].selected + 4 * database[2].selected, 1);

  auto keepsAllSelected = [](const SettingsRecord& record, size_t games) {
    GameList fresh(games);
    return !ApplyGameSelection(record, fresh) &&
           std::all_of(fresh.begin(), fresh.end(), [](const GameSet& g) { return g.selected; });
  };
  SettingsRecord otherData = r, lying = r;
  otherData.dataCrc = 0xABCE;
  lying.gameSelectionBytes.pop_back();  // a count that does not match the bytes held
  EXPECT_TRUE(keepsAllSelected(otherData, 3));
  EXPECT_TRUE(keepsAllSelected(r, 4));
  EXPECT_TRUE(keepsAllSelected(SettingsRecord{}, 0));
  EXPECT_TRUE(keepsAllSelected(lying, 3));
}

}  // namespace
}  // namespace kestrel
