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

GameSet WithSamples(GameSet game, const std::string& sampleOf, std::vector<std::string> samples) {
  game.sampleOf = sampleOf;
  game.hasSampleOf = !sampleOf.empty();
  for (const std::string& name : samples) game.samples.emplace_back().name = name;
  game.sampleCount = static_cast<int>(game.samples.size());
  return game;
}

TEST(ValidateGamesTest, RemovesDoublesAndReportsThemByLevel) {
  GameSet roms = Set("r", "Roms", "", {Rom("z", 1, 1), Rom("a", 1, 2), Rom("z", 1, 3)});
  roms = WithSamples(roms, "", {"s", "b", "s"});
  GameList raw = {Set("b", "Same"), Set("Dup", "Zeta"), Set("a", "Same"), Set("dup", "Alpha"), roms};

  const std::vector<std::string> all = {
      "Double description: 'Same'",
      "Double foldername: 'Dup'",  // the one with the greater description goes
      "Double ROM: 'z'\nin gameset: 'Roms'",
      "Double sample : 's'\nin gameset: 'Roms'",
  };
  EXPECT_EQ(Validate(raw, kShowSetErrors).messages, std::vector<std::string>(all.begin(), all.begin() + 2));
  Validated result = Validate(raw, kShowRomErrors);
  EXPECT_EQ(result.messages, all);

  ASSERT_TRUE(result.ok);
  const GameList& db = result.games;
  EXPECT_EQ(Names(db), (std::vector<std::string>{"a", "b", "dup", "r"}));
  for (size_t i = 0; i < db.size(); ++i) EXPECT_EQ(db[i].index, static_cast<int>(i));
  const GameSet& r = db[3];
  ASSERT_EQ(r.romCount, 2);
  EXPECT_EQ(r.roms[1].crc, 1u);  // the first in file order stays
  EXPECT_EQ(r.sampleCount, 2);
}

TEST(ValidateGamesTest, ResolvesParentsAndRemovesBadOnes) {
  // A useless reference to a set that is itself broken is told twice: the
  // check of the named set follows even after "is useless".
  GameList raw = {Set("parent", "Parent"),         Set("clone", "Clone", "PARENT"),
                  Set("orphan", "Orphan", "missing"), Set("self", "Self", "self"),
                  Set("grand", "Grand", "clone"),     Set("acl", "A Clone", "zp"), Set("zp", "Z Parent", "zp")};
  Validated result = Validate(raw, kShowSetErrors);
  const std::string zp = "Parentfolder: \n\n'zp'\n\nof gameset: \n\n'";
  EXPECT_EQ(result.messages, (std::vector<std::string>{
                                 zp + "A Clone'\n\n is useless !",
                                 zp + "A Clone'\n\nhas bad parent-information !",
                                 "Parentfolder: \n\n'clone'\n\nof gameset: \n\n'Grand'\n\nhas bad parent-information !",
                                 "Parentfolder: \n\n'missing'\n\nof gameset: \n\n'Orphan'\n\n doesn't exist !",
                                 "Parentfolder: \n\n'self'\n\nof gameset: \n\n'Self'\n\n is useless !",
                                 zp + "Z Parent'\n\n is useless !",
                             }));

  // Only the clone keeps its link; its parent lists it.
  std::string links;
  for (const GameSet& game : result.games)
    if (game.hasParent) links += game.name + ">" + std::to_string(game.parentIndex);
  EXPECT_EQ(links, "clone>4");
  const GameSet& parent = result.games[4];
  ASSERT_EQ(parent.clones.size(), 1u);
  EXPECT_EQ(parent.cloneCount, 1);
  EXPECT_EQ(parent.clones[0].description + "@" + std::to_string(parent.clones[0].index), "Clone@1");
}

TEST(ValidateGamesTest, ChecksSampleSources) {
  GameList raw = {WithSamples(Set("src", "Source"), "", {"a"}), WithSamples(Set("user", "User"), "src", {}),
                  Set("empty", "Empty"),                         WithSamples(Set("user2", "User2"), "empty", {}),
                  WithSamples(Set("user3", "User3"), "nowhere", {}), WithSamples(Set("yms", "Yms"), "YM3812", {})};
  Validated result = Validate(raw, kShowSetErrors);
  const std::string kind = "Alternative Samplefolder: \n\n'";
  EXPECT_EQ(result.messages, (std::vector<std::string>{
                                 kind + "empty'\n\nof gameset: \n\n'User2'\n\nhas bad sample-information !",
                                 kind + "nowhere'\n\nof gameset: \n\n'User3'\n\n doesn't exist !",
                             }));
  std::string kept;
  for (const GameSet& game : result.games) kept += game.hasSampleOf ? game.name + ":" + game.sampleOf + " " : "";
  EXPECT_EQ(kept, "user:src yms:YM3812 ");
}

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
