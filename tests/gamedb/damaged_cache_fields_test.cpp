#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/data_cache.h"
#include "support/game_records.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using namespace std::string_literals;

std::string Int(uint32_t value) {
  return {char(value & 0xFF), char(value >> 8 & 0xFF), char(value >> 16 & 0xFF), char(value >> 24)};
}

// Each field a damaged cache may hold out of its range, put in place of the
// good value of a one-set cache: the cache is refused. A damaged header is a
// miss that leaves the caller's list; damage further in empties it.
TEST(DamagedCacheFieldsTest, RefusesEveryFieldOutOfItsRange) {
  GameSet game;
  game.name = "pp";
  game.description = std::string(0xFFFE, 'd');  // stored in the longest length form
  game.index = 0;
  game.roms = {testing::Rom("r1", 4, 0x11111111)};
  testing::TempFolder folder;
  ASSERT_TRUE(WriteDataCache(folder / "cache", {game}, 3));
  const std::string good = testing::ReadFile(folder / "cache");
  const size_t longText = good.find("\xFF\xFF\xFF\xFE\xFF\0\0"s);
  // After the description: cloneof, romof, the BIOS mark, biosof, then these.
  const size_t biosIndex = longText + 7 + 0xFFFE + 1 + 1 + 4 + 1, rules = biosIndex + 4;
  ASSERT_EQ(good.substr(biosIndex, 8), Int(-1) + Int(0));
  struct Damage { const char* what; size_t offset, length; std::string bytes; };
  const std::vector<Damage> damages = {
      {"magic", 1, 1, "X"},
      {"negative ROM count", 48, 4, Int(-1)},
      {"clone count beyond the file", 36, 4, Int(0x7FFFFFFF)},
      {"sample count beyond the file", 52, 4, Int(0x7FFFFFFF)},
      {"a parent index on a set without parent", 44, 4, Int(0)},
      {"the unused length 0xFFFE", longText, 7, "\xFF\xFE\xFF"},
      {"rules past the last", rules, 4, Int(3)},
      {"a BIOS index below -1", biosIndex, 4, Int(-2)},
      {"a BIOS ROM below -1", good.size() - 12, 4, Int(-2)},
      {"a dump status past the last", good.size() - 8, 4, Int(3)},
  };
  for (const Damage& damage : damages) {
    std::string damaged = good;
    testing::WriteFile(folder / "cache", damaged.replace(damage.offset, damage.length, damage.bytes));
    GameList read = {game};
    EXPECT_FALSE(ReadDataCache(folder / "cache", read, 3, nullptr)) << damage.what;
    EXPECT_EQ(read.size(), damage.offset < 16 ? 1u : 0u) << damage.what;
  }
  testing::WriteFile(folder / "cache", good);
  GameList read;
  EXPECT_TRUE(ReadDataCache(folder / "cache", read, 3, nullptr));
}

}  // namespace
}  // namespace kestrel
