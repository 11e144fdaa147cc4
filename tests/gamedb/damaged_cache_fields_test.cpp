#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/data_cache.h"
#include "support/game_records.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using namespace std::string_literals;
using testing::TempFolder;

// A parent with one sample and a description long enough for the longest
// length form, and a clone that uses it as its BIOS set.
GameList Family() {
  GameSet parent;
  parent.name = "pp";
  parent.description = std::string(0xFFFE, 'd');
  parent.index = 0;
  parent.isParent = parent.isBios = true;
  parent.clones = {{"Clone", 1}};
  parent.roms = {testing::Rom("r1", 4, 0x11111111)};
  parent.samples.resize(1);
  parent.samples[0].name = "s1";
  GameSet clone;
  clone.name = "cc";
  clone.description = "Clone";
  clone.index = 1;
  clone.parentIndex = clone.biosIndex = 0;
  clone.hasParent = true;
  clone.cloneOf = clone.romOf = clone.biosOf = "pp";
  clone.roms = {testing::Rom("r2", 4, 0x11111111)};
  clone.roms[0].biosRom = 0;
  return {parent, clone};
}

std::string Int(uint32_t value) {
  return {char(value & 0xFF), char(value >> 8 & 0xFF), char(value >> 16 & 0xFF), char(value >> 24)};
}

// Each field a damaged cache may hold out of its range, put in place of the
// good value: the cache is refused. A damaged header is a miss that leaves
// the caller's list; damage further in empties it.
TEST(DamagedCacheFieldsTest, RefusesEveryFieldOutOfItsRange) {
  TempFolder folder;
  const GameList family = Family();
  ASSERT_TRUE(WriteDataCache(folder / "cache", family, 3));
  const std::string good = testing::ReadFile(folder / "cache");
  const size_t longText = good.find("\xFF\xFF\xFF\xFE\xFF\0\0"s);
  const size_t parentRules = longText + 7 + 0xFFFE + 1 + 1 + 4 + 1 + 4;
  struct Damage {
    const char* what;
    size_t offset, length;
    std::string bytes;
  };
  const std::vector<Damage> damages = {
      {"magic", 1, 1, "X"},
      {"negative ROM count", 48, 4, Int(-1)},
      {"clone count beyond the file", 36, 4, Int(0x7FFFFFFF)},
      {"sample count beyond the file", 52, 4, Int(0x7FFFFFFF)},
      {"a parent index on a set without parent", 44, 4, Int(0)},
      {"the unused length 0xFFFE", longText, 7, "\xFF\xFE\xFF"},
      {"rules past the last", parentRules, 4, Int(2)},
      {"a BIOS index below -1", parentRules - 4, 4, Int(-2)},
      {"a BIOS ROM below -1", good.size() - 12, 4, Int(-2)},
      {"a dump status past the last", good.size() - 8, 4, Int(3)},
  };
  // The offsets hold the good values: put back, the cache reads as written.
  ASSERT_EQ(good.substr(parentRules - 4, 8), Int(-1) + Int(0));
  for (const Damage& damage : damages) {
    std::string damaged = good;
    damaged.replace(damage.offset, damage.length, damage.bytes);
    testing::WriteFile(folder / "cache", damaged);
    GameList read = family;
    EXPECT_FALSE(ReadDataCache(folder / "cache", read, 3, nullptr)) << damage.what;
    EXPECT_EQ(read.size(), damage.offset < 16 ? family.size() : 0u) << damage.what;
  }
  testing::WriteFile(folder / "cache", good);
  GameList read;
  EXPECT_TRUE(ReadDataCache(folder / "cache", read, 3, nullptr));
}

}  // namespace
}  // namespace kestrel
