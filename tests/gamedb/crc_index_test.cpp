#include <gtest/gtest.h>

#include "gamedb/crc_index.h"
#include "support/game_records.h"

namespace kestrel {
namespace {

using testing::Rom;

TEST(BuildCrcIndexTest, OrdersStablyAndSkipsUnselectedSets) {
  GameList database(3);
  database[0].name = "a";
  database[0].roms = {Rom("x", 10, 5), Rom("R", 1, 0), Rom("y", 131072, 0x354029FC)};
  database[0].hasNeoGeoBios = true;
  database[1].name = "b";
  database[1].selected = false;
  database[1].roms = {Rom("v", 10, 1)};
  database[2].name = "c";
  database[2].cloneOf = "a";
  database[2].roms = {Rom("w", 10, 5), Rom("r", 2, 0), Rom("A.bin", 3, 0)};

  std::vector<CrcIndexEntry> crcIndex(1);
  std::vector<ZeroCrcIndexEntry> zeroCrcIndex(1);
  BuildCrcIndex(database, crcIndex, zeroCrcIndex);

  ASSERT_EQ(crcIndex.size(), 3u);
  EXPECT_EQ(crcIndex[0].romName, "x");  // equal crcs keep database order
  EXPECT_EQ(crcIndex[1].romName, "w");
  EXPECT_EQ(crcIndex[1].cloneOf, "a");
  EXPECT_EQ(crcIndex[1].crcComplement, ~5u);
  EXPECT_EQ(crcIndex[2].romName, "y");
  EXPECT_TRUE(crcIndex[2].isNeoGeoBios);
  EXPECT_TRUE(crcIndex[2].hasNeoGeoBios);

  ASSERT_EQ(zeroCrcIndex.size(), 3u);
  EXPECT_EQ(zeroCrcIndex[0].romName, "A.bin");
  EXPECT_EQ(zeroCrcIndex[1].setName + zeroCrcIndex[2].setName, "ac");  // "R" and "r" are equal without case

  EXPECT_EQ(FindCrcRange(crcIndex, 5), (std::pair<size_t, size_t>{0, 2}));
  EXPECT_EQ(FindCrcRange(crcIndex, 6), (std::pair<size_t, size_t>{2, 2}));  // absent: empty
}

}  // namespace
}  // namespace kestrel
