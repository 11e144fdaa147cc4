#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/game_list_reading.h"
#include "support/bios_family.h"

namespace kestrel {
namespace {

// Each set's BIOS set, and each ROM's name in it ("-" for a ROM of its own).
std::vector<std::string> DescribeBios(const GameList& database) {
  std::vector<std::string> lines;
  for (const GameSet& game : database) {
    std::string line = game.name + (game.isBios ? " (BIOS)" : "") + " uses '" + game.biosOf + "':";
    for (const RomEntry& rom : game.roms) {
      const RomEntry* biosRom = BiosRomOf(database, game, rom);
      line += " " + rom.name + "=" + (biosRom != nullptr ? biosRom->name : "-");
    }
    lines.push_back(line);
  }
  return lines;
}

// Where "romof" names the parent (the lists of one emulator), it stays a
// parent and names no BIOS set.
TEST(BiosSetsTest, RomOfAsParentNamesNoBios) {
  testing::Outcome loaded = testing::ReadAndValidate(R"(
game ( name p description "P" rom ( name a size 1 crc 1 ) )
game ( name c description "C" romof p rom ( name a size 1 crc 1 ) )
)", true);
  EXPECT_EQ(loaded.games[0].cloneOf, "p");
  EXPECT_EQ(loaded.games[0].biosIndex, -1);
  EXPECT_FALSE(loaded.games[1].isBios);
}

// A clone may name a BIOS set of its own, even the first set of the list,
// and then keeps it; a ROM at the head of that BIOS set is found there even
// when the parent, using the same BIOS set, lacks it.
TEST(BiosSetsTest, AClonesOwnBiosSetAtTheHeadOfTheListStands) {
  testing::Outcome loaded = testing::ReadAndValidate(R"(
game ( name abios description "A Bios" rom ( name b0 size 1 crc 10 ) rom ( name b1 size 1 crc 11 ) )
game ( name p description "P" romof abios rom ( name p1 size 1 crc 1 ) )
game ( name pc description "PC" cloneof p romof abios rom ( name b0 size 1 crc 10 ) )
game ( name q description "Q" rom ( name q1 size 1 crc 2 ) )
game ( name qc description "QC" cloneof q romof abios rom ( name b1 size 1 crc 11 ) )
)");
  EXPECT_EQ(DescribeBios(loaded.games), (std::vector<std::string>{
                                               "abios (BIOS) uses '': b0=- b1=-",
                                               "p uses 'abios': p1=-",
                                               "pc uses 'abios': b0=b0",
                                               "q uses '': q1=-",
                                               "qc uses 'abios': b1=b1",
                                           }));
  EXPECT_TRUE(loaded.messages.empty());
}

}  // namespace
}  // namespace kestrel
