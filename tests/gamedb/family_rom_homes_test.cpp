#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/game_list_reading.h"
#include "gamedb/rom_home.h"

namespace kestrel {
namespace {

using testing::Outcome;

// A family whose clones hold ROMs of one CRC and two sizes (against the
// parent, the BIOS set and an earlier clone), a name differing from the
// parent's only in case (a ROM of the clone's own: one set cannot hold both),
// ROMs known to the BIOS set only through the parent's `merge`, a clone with
// a BIOS set of its own, and ROMs without a known dump.
const char* const kFamily =
    "game ( name bios description B rom ( name b1 size 4 crc 10 ) )\n"
    "game ( name bios2 description B2 rom ( name b2 size 4 crc 60 ) )\n"
    "game ( name base description P romof bios rom ( name pb merge b1 size 4 crc 10 )\n"
    "  rom ( name shared size 8 crc 20 ) rom ( name x size 8 crc 30 ) rom ( name y size 4 crc 41 ) )\n"
    "game ( name c1 description C1 cloneof base romof BASE rom ( name shared size 8 crc 20 )\n"
    "  rom ( name x size 16 crc 30 ) rom ( name renamed merge shared size 8 crc 20 )\n"
    "  rom ( name Y size 4 crc 41 ) rom ( name own size 4 crc 50 ) rom ( name cb merge pb size 4 crc 10 )\n"
    "  rom ( name b1 size 8 crc 10 ) )\n"
    "game ( name c2 description C2 cloneof base romof bios2 rom ( name own size 8 crc 50 )\n"
    "  rom ( name cb2 merge pb size 4 crc 10 ) )\n"
    "game ( name c3 description C3 cloneof base rom ( name shared size 8 crc 20 ) rom ( name nd size 4 ) )\n";

std::string Home(const GameList& database, const GameSet& game, const RomEntry& rom, SetLayout layout) {
  RomHome home = HomeOf(database, game, rom, layout);
  return home.set->name + "/" + home.name;
}

// Where each ROM lives when split and when merged, and which sets hold a
// dump at all, as the rebuilder, the scanner and the merger all see it.
TEST(FamilyRomHomesTest, PlacesEveryRomOfAnOddFamily) {
  Outcome database = testing::Validate(testing::ReadListText(kFamily).games, kShowRomErrors);
  ASSERT_TRUE(database.ok);
  std::vector<std::string> lines;
  for (const GameSet& game : database.games) {
    std::string line = game.name + " dumps:" + (HoldsAnyDump(database.games, game, SetLayout::kSplit) ? "S" : "") +
                       (HoldsAnyDump(database.games, game, SetLayout::kMerged) ? "M" : "") + " searched:";
    for (const GameSet* set : SetsSearchedFor(database.games, game, SetLayout::kSplit)) line += " " + set->name;
    for (const RomEntry& rom : game.roms) {
      line += " | " + rom.name + (rom.inParent ? "" : ":own") + " " + Home(database.games, game, rom, SetLayout::kSplit) +
              " " + Home(database.games, game, rom, SetLayout::kMerged);
    }
    lines.push_back(line);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "base dumps:SM searched: base bios | pb bios/b1 bios/b1 | shared base/shared base/shared"
                       " | x base/x base/x | y base/y base/y",
                       "bios dumps:SM searched: bios | b1 bios/b1 bios/b1",
                       "bios2 dumps:SM searched: bios2 | b2 bios2/b2 bios2/b2",
                       "c1 dumps:SM searched: c1 base bios | Y:own c1/Y c1/Y | b1:own c1/b1 base/b1 | cb:own bios/b1 bios/b1"
                       " | own:own c1/own base/own | renamed:own base/shared base/shared | shared base/shared base/shared"
                       " | x:own c1/x c1/x",
                       "c2 dumps:SM searched: c2 base bios2 | cb2:own base/pb base/pb | own:own c2/own c2/own",
                       "c3 dumps: searched: c3 base bios | nd:own c3/nd base/nd | shared base/shared base/shared",
                   }));
  EXPECT_EQ(database.messages, std::vector<std::string>{});
}

// The user may stop after any of the four phases; the list is then not used.
TEST(FamilyRomHomesTest, StopsAfterAnyPhase) {
  GameList raw = testing::ReadListText(kFamily).games;
  for (int check = 1; check <= 4; ++check) {
    Outcome stopped = testing::RunStep(check, [&](GameList& database, ProgressDialog& progress, ListMessages& messages) {
      return ValidateGames(raw, database, progress, kShowRomErrors, messages);
    });
    EXPECT_FALSE(stopped.ok) << check;
  }
}

}  // namespace
}  // namespace kestrel
