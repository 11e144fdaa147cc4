#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/scripted_interface.h"
#include "gamedb/game_list_file.h"
#include "gamedb/validate_games.h"
#include "support/bios_family.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;
using testing::WriteFile;

struct Loaded {
  GameList database;
  std::vector<std::string> messages;
};

Loaded Load(const std::string& list, bool enableRomOf = false) {
  TempFolder folder;
  WriteFile(folder / "list.dat", list);
  ScriptedInterface ui;
  auto progress = OpenProgressDialog(&ui, "");
  GameList raw;
  Loaded loaded;
  EXPECT_TRUE(ParseGameList(raw, folder / "list.dat", *progress, enableRomOf, loaded.messages));
  EXPECT_TRUE(ValidateGames(raw, loaded.database, *progress, kShowSetErrors, loaded.messages));
  return loaded;
}

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

TEST(BiosSetsTest, BadBiosReferencesAreReportedAndDropped) {
  Loaded loaded = Load(R"(
game ( name lost description "Lost" romof nowhere rom ( name a size 1 crc 1 ) )
game ( name self description "Self" romof self rom ( name a size 1 crc 1 ) )
game ( name chain description "Chain" romof lost rom ( name a size 1 crc 1 ) )
)");
  const std::string bios = "Biosfolder: \n\n'";
  EXPECT_EQ(loaded.messages, (std::vector<std::string>{
                                 bios + "lost'\n\nof gameset: \n\n'Chain'\n\nhas bad bios-information !",
                                 bios + "nowhere'\n\nof gameset: \n\n'Lost'\n\n doesn't exist !",
                                 bios + "self'\n\nof gameset: \n\n'Self'\n\n is useless !",
                             }));
  for (const GameSet& game : loaded.database) {
    EXPECT_EQ(game.biosIndex, -1) << game.name;
    EXPECT_EQ(game.roms[0].biosRom, -1) << game.name;
  }
}

// Where "romof" names the parent (the lists of one emulator), it stays a
// parent and names no BIOS set.
TEST(BiosSetsTest, RomOfAsParentNamesNoBios) {
  Loaded loaded = Load(R"(
game ( name p description "P" rom ( name a size 1 crc 1 ) )
game ( name c description "C" romof p rom ( name a size 1 crc 1 ) )
)", true);
  EXPECT_EQ(loaded.database[0].cloneOf, "p");
  EXPECT_EQ(loaded.database[0].biosIndex, -1);
  EXPECT_FALSE(loaded.database[1].isBios);
}

// A clone may name a BIOS set of its own, even the first set of the list,
// and then keeps it; a ROM at the head of that BIOS set is found there even
// when the parent, using the same BIOS set, lacks it.
TEST(BiosSetsTest, AClonesOwnBiosSetAtTheHeadOfTheListStands) {
  Loaded loaded = Load(R"(
game ( name abios description "A Bios" rom ( name b0 size 1 crc 10 ) rom ( name b1 size 1 crc 11 ) )
game ( name p description "P" romof abios rom ( name p1 size 1 crc 1 ) )
game ( name pc description "PC" cloneof p romof abios rom ( name b0 size 1 crc 10 ) )
game ( name q description "Q" rom ( name q1 size 1 crc 2 ) )
game ( name qc description "QC" cloneof q romof abios rom ( name b1 size 1 crc 11 ) )
)");
  EXPECT_EQ(DescribeBios(loaded.database), (std::vector<std::string>{
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
