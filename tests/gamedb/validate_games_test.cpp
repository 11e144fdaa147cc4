#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/game_list_reading.h"
#include "support/game_records.h"

namespace kestrel {
namespace {

using testing::Names;
using testing::Rom;
using testing::Validate;
using Validated = testing::Outcome;

// A raw set; a clone of `parent` unless that is empty.
GameSet Set(const std::string& name, const std::string& description, const std::string& parent = "",
            std::vector<RomEntry> roms = {Rom("r", 1, 1)}) {
  GameSet game;
  game.name = name;
  game.description = description;
  game.cloneOf = parent;
  game.hasParent = !parent.empty();
  game.roms = std::move(roms);
  game.romCount = static_cast<int>(game.roms.size());
  return game;
}

// The faults of a list, and what stays of its sets, are in the golden
// record list_faults.

TEST(ValidateGamesTest, FindsAliasesWithinTheFamilyAndRomsInTheParent) {
  GameList raw = {
      Set("p", "P", "", {Rom("a", 100, 1), Rom("b", 100, 2), Rom("neo-geo.rom", 131072, 0x9036D879)}),
      Set("c", "C", "p", {Rom("a", 100, 1), Rom("b2", 100, 2), Rom("b3", 200, 2), Rom("z1", 5, 0), Rom("s", 9, 7)}),
      // b and s are named like other contents of the family.
      Set("d", "D", "p", {Rom("b", 100, 9), Rom("s", 9, 8), Rom("y", 100, 2), Rom("z2", 5, 0)}),
      Set("u", "U", "", {Rom("x", 100, 2)}),
  };
  Validated result = Validate(raw, kShowNoListErrors);
  const GameList& db = result.games;
  ASSERT_EQ(Names(db), (std::vector<std::string>{"c", "d", "p", "u"}));
  const GameSet& c = db[0];
  const GameSet& p = db[2];

  using Names = std::vector<std::string>;
  EXPECT_TRUE(c.roms[0].inParent);   // a
  EXPECT_FALSE(c.roms[1].inParent);  // b2
  EXPECT_EQ(AliasesOf(c.roms[1]), (Names{"y", "b"}));  // a sibling, then the parent
  EXPECT_TRUE(AliasesOf(c.roms[2]).empty());        // same crc, other size
  EXPECT_TRUE(AliasesOf(c.roms[FindRom(c, "z1")]).empty());  // no dumps are never aliases
  EXPECT_EQ(AliasesOf(p.roms[1]), (Names{"b2", "y"}));  // the clones; never the unrelated set
  const GameSet& d = db[1];
  EXPECT_FALSE(d.roms[0].inParent);  // b of another content than the parent's
  EXPECT_TRUE(ClashesInFamily(db, d, d.roms[0]));
  EXPECT_TRUE(ClashesInFamily(db, d, d.roms[1]));   // s, after c's
  EXPECT_FALSE(ClashesInFamily(db, c, c.roms[4]));  // c's s comes first
  EXPECT_TRUE(p.hasNeoGeoBios && !c.hasNeoGeoBios);
}

// Ten thousand copies of one content share one group of names instead of
// ten thousand lists of ten thousand names.
TEST(ValidateGamesTest, SharesOneAliasGroupAmongCopiesOfOneContent) {
  std::vector<RomEntry> roms;
  for (int i = 0; i < 10000; ++i) roms.push_back(Rom("r" + std::to_string(10000 + i), 64, 0xABCD));
  Validated result = Validate({Set("big", "Big", "", roms)}, kShowNoListErrors);
  const GameSet& big = result.games[0];
  for (const RomEntry& rom : big.roms) ASSERT_EQ(rom.aliasGroup, big.roms[0].aliasGroup);
  std::vector<std::string> aliases = AliasesOf(big.roms[1]);
  ASSERT_EQ(aliases.size(), 9999u);
  EXPECT_EQ(aliases[0] + aliases[1], "r10000r10002");
}

}  // namespace
}  // namespace kestrel
