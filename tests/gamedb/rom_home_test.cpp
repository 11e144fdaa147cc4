// Where each ROM of a family lives in the three layouts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/rom_home.h"
#include "gamedb/game_list_reading.h"

namespace kestrel::testing {
namespace {

// A BIOS set, a parent using it and two clones: ROMs shared by name or by
// `merge` name, a clone's ROM named like another content of the family, a
// ROM the BIOS set holds, a ROM without a known dump.
const char kFamily[] = R"(
resource ( name kbios description "kbios"
  rom ( name k1.bin size 4 crc 11111111 )
)
game ( name par description "par" romof kbios
  rom ( name a.bin size 4 crc aaaaaaaa )
  rom ( name b.bin size 4 crc bbbbbbbb )
  rom ( name pk1.bin merge k1.bin size 4 crc 11111111 )
)
game ( name parc1 description "parc1" cloneof par romof par
  rom ( name a.bin merge a.bin size 4 crc aaaaaaaa )
  rom ( name rb.bin merge b.bin size 4 crc bbbbbbbb )
  rom ( name b.bin size 4 crc cccccccc )
  rom ( name c1.bin size 4 crc dddddddd )
  rom ( name pk1.bin merge pk1.bin size 4 crc 11111111 )
  rom ( name x.bin size 4 crc eeeeeeee )
)
game ( name parc2 description "parc2" cloneof par romof par
  rom ( name x.bin size 4 crc ffffffff )
  rom ( name nd.bin size 4 crc 00000000 )
)
game ( name parc3 description "parc3" cloneof par romof par
  rom ( name nd3.bin size 4 crc 00000000 )
)
)";

class RomHomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Outcome read = ReadListText(kFamily);
    ASSERT_TRUE(read.ok);
    Outcome valid = RunStep(0, [&](GameList& games, ProgressDialog& progress, ListMessages& messages) {
      return ValidateGames(read.games, games, progress, kShowSetErrors, messages);
    });
    ASSERT_TRUE(valid.ok);
    database = std::move(valid.games);
  }

  const GameSet& Game(const std::string& name) const { return database[size_t(*FindGame(database, name))]; }

  // "rom -> set/name" for every ROM of `game`.
  std::vector<std::string> Homes(const std::string& game, SetLayout layout) const {
    std::vector<std::string> lines;
    for (const RomEntry& rom : Game(game).roms) {
      RomHome home = HomeOf(database, Game(game), rom, layout);
      lines.push_back(rom.name + " -> " + home.set->name + "/" + home.name);
    }
    return lines;
  }

  GameList database;
};

using Lines = std::vector<std::string>;

TEST_F(RomHomeTest, NonMergedSetsHoldEveryRomOfTheirGameUnderItsOwnName) {
  EXPECT_EQ(Homes("par", SetLayout::kNonMerged),
            (Lines{"a.bin -> par/a.bin", "b.bin -> par/b.bin", "pk1.bin -> par/pk1.bin"}));
  EXPECT_EQ(Homes("parc2", SetLayout::kNonMerged), (Lines{"nd.bin -> parc2/nd.bin", "x.bin -> parc2/x.bin"}));
}

TEST_F(RomHomeTest, SplitSetsKeepWhatTheParentOrBiosSetHoldsThereUnderTheirNames) {
  EXPECT_EQ(Homes("par", SetLayout::kSplit),
            (Lines{"a.bin -> par/a.bin", "b.bin -> par/b.bin", "pk1.bin -> kbios/k1.bin"}));
  EXPECT_EQ(Homes("parc1", SetLayout::kSplit),
            (Lines{"a.bin -> par/a.bin", "b.bin -> parc1/b.bin", "c1.bin -> parc1/c1.bin",
                   "pk1.bin -> kbios/k1.bin", "rb.bin -> par/b.bin", "x.bin -> parc1/x.bin"}));
}

TEST_F(RomHomeTest, MergedSetsTakeCloneRomsUnlessTheirNameIsTakenInTheFamily) {
  EXPECT_EQ(Homes("parc1", SetLayout::kMerged),
            (Lines{"a.bin -> par/a.bin", "b.bin -> parc1/b.bin", "c1.bin -> par/c1.bin",
                   "pk1.bin -> kbios/k1.bin", "rb.bin -> par/b.bin", "x.bin -> par/x.bin"}));
  // parc1's x.bin came first.
  EXPECT_EQ(Homes("parc2", SetLayout::kMerged), (Lines{"nd.bin -> par/nd.bin", "x.bin -> parc2/x.bin"}));
}

TEST_F(RomHomeTest, SetsOfAGameAndWhetherALayoutFillsThem) {
  auto names = [](const std::vector<const GameSet*>& sets) {
    Lines lines;
    for (const GameSet* set : sets) lines.push_back(set->name);
    return lines;
  };
  EXPECT_EQ(names(SetsSearchedFor(database, Game("parc1"), SetLayout::kSplit)), (Lines{"parc1", "par", "kbios"}));
  EXPECT_EQ(names(SetsSearchedFor(database, Game("parc1"), SetLayout::kNonMerged)), (Lines{"parc1"}));
  EXPECT_EQ(names(SetsSearchedFor(database, Game("kbios"), SetLayout::kMerged)), (Lines{"kbios"}));
  EXPECT_TRUE(HoldsAnyDump(database, Game("parc1"), SetLayout::kMerged));  // its own b.bin
  EXPECT_TRUE(HoldsAnyDump(database, Game("par"), SetLayout::kMerged));
  // Without a known dump a ROM makes no set needed.
  EXPECT_FALSE(HoldsAnyDump(database, Game("parc3"), SetLayout::kNonMerged));
}

}  // namespace
}  // namespace kestrel::testing
