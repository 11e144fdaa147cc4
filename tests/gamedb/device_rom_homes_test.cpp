// Where a machine's device and BIOS ROMs live in each of the four layouts,
// and that the data cache keeps what tells it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/data_cache.h"
#include "gamedb/game_list_reading.h"
#include "gamedb/rom_home.h"

namespace kestrel {
namespace {

// A BIOS set; a device with a ROM and a device without (which no set keeps);
// a parent and clone using both, the device named twice; a machine that
// lists the device's ROM itself; one whose ROM of the device ROM's name is
// another content (and names a set that is no device); a device using a device, and a machine naming both (as
// MAME names every device of a machine, however deep).
const char* const kDeviceList =
    "<?xml version=\"1.0\"?>\n<mame>\n"
    "<machine name=\"board\" isdevice=\"yes\"><description>Board</description>"
    "<rom name=\"board.bin\" size=\"4\" crc=\"70\"/><device_ref name=\"chip\"/></machine>\n"
    "<machine name=\"nest\"><description>N</description><rom name=\"n.bin\" size=\"4\" crc=\"80\"/>"
    "<device_ref name=\"board\"/><device_ref name=\"chip\"/></machine>\n"
    "<machine name=\"bios\" isbios=\"yes\"><description>B</description>"
    "<rom name=\"b.bin\" size=\"4\" crc=\"10\"/></machine>\n"
    "<machine name=\"chip\" isdevice=\"yes\"><description>Chip</description>"
    "<rom name=\"chip.bin\" size=\"4\" crc=\"20\"/><device_ref name=\"cpu\"/></machine>\n"
    "<machine name=\"cpu\" isdevice=\"yes\"><description>Cpu</description></machine>\n"
    "<machine name=\"game\" romof=\"bios\"><description>G</description>"
    "<rom name=\"b.bin\" merge=\"b.bin\" size=\"4\" crc=\"10\"/><rom name=\"g.bin\" size=\"4\" crc=\"30\"/>"
    "<device_ref name=\"chip\"/><device_ref name=\"chip\"/><device_ref name=\"cpu\"/></machine>\n"
    "<machine name=\"clone\" cloneof=\"game\" romof=\"game\"><description>C</description>"
    "<rom name=\"b.bin\" merge=\"b.bin\" size=\"4\" crc=\"10\"/><rom name=\"g.bin\" merge=\"g.bin\" size=\"4\" "
    "crc=\"30\"/><rom name=\"c.bin\" size=\"4\" crc=\"40\"/><device_ref name=\"chip\"/></machine>\n"
    "<machine name=\"inline\"><description>I</description><rom name=\"CHIP.BIN\" size=\"4\" crc=\"20\"/>"
    "<device_ref name=\"chip\"/></machine>\n"
    "<machine name=\"other\"><description>O</description><rom name=\"chip.bin\" size=\"4\" crc=\"60\"/>"
    "<device_ref name=\"chip\"/><device_ref name=\"bios\"/></machine>\n"
    "</mame>\n";

constexpr SetLayout kLayouts[] = {SetLayout::kNonMerged, SetLayout::kSplit, SetLayout::kMerged,
                                  SetLayout::kFullNonMerged};

// One line per set: each ROM's home in the four layouts, then the sets a
// clone's ROMs are looked for in, layout by layout.
std::vector<std::string> Homes(const GameList& database) {
  std::vector<std::string> lines;
  for (const GameSet& game : database) {
    std::string line = game.name + (game.isDevice ? " (device)" : "");
    for (const RomEntry& rom : game.roms) {
      line += " | " + rom.name;
      for (SetLayout layout : kLayouts) {
        RomHome home = HomeOf(database, game, rom, layout);
        line += " " + home.set->name + "/" + home.name;
      }
    }
    if (game.hasParent) {
      for (SetLayout layout : kLayouts) {
        line += " |";
        for (const GameSet* set : SetsSearchedFor(database, game, layout)) line += " " + set->name;
      }
    }
    lines.push_back(line);
  }
  return lines;
}

const std::vector<std::string> kExpectedHomes = {
    "bios | b.bin bios/b.bin bios/b.bin bios/b.bin bios/b.bin",
    "board (device) | board.bin board/board.bin board/board.bin board/board.bin board/board.bin"
    " | chip.bin chip/chip.bin chip/chip.bin chip/chip.bin board/chip.bin",
    "chip (device) | chip.bin chip/chip.bin chip/chip.bin chip/chip.bin chip/chip.bin",
    "clone | b.bin bios/b.bin bios/b.bin bios/b.bin clone/b.bin | c.bin clone/c.bin clone/c.bin game/c.bin clone/c.bin"
    " | chip.bin chip/chip.bin chip/chip.bin chip/chip.bin clone/chip.bin"
    " | g.bin clone/g.bin game/g.bin game/g.bin clone/g.bin"
    " | clone bios chip | clone game bios chip | clone game bios chip | clone",
    "game | b.bin bios/b.bin bios/b.bin bios/b.bin game/b.bin | chip.bin chip/chip.bin chip/chip.bin chip/chip.bin"
    " game/chip.bin | g.bin game/g.bin game/g.bin game/g.bin game/g.bin",
    "inline | CHIP.BIN chip/chip.bin chip/chip.bin chip/chip.bin inline/CHIP.BIN",
    "nest | board.bin board/board.bin board/board.bin board/board.bin nest/board.bin"
    " | chip.bin chip/chip.bin chip/chip.bin chip/chip.bin nest/chip.bin | n.bin nest/n.bin nest/n.bin nest/n.bin nest/n.bin",
    "other | chip.bin other/chip.bin other/chip.bin other/chip.bin other/chip.bin",
};

TEST(DeviceRomHomesTest, DeviceAndBiosRomsLiveInTheirOwnSetsUnlessFullNonMerged) {
  testing::Outcome raw = testing::ReadListText(kDeviceList);
  ASSERT_TRUE(raw.ok && raw.messages.empty());
  testing::Outcome database = testing::Validate(raw.games, kShowSetErrors);
  ASSERT_TRUE(database.ok);
  EXPECT_EQ(Homes(database.games), kExpectedHomes);

  // A cache written and read again places every ROM alike.
  testing::TempFolder folder;
  ASSERT_TRUE(WriteDataCache(folder / "cache", database.games, 7));
  GameList read;
  ASSERT_TRUE(ReadDataCache(folder / "cache", read, 7, nullptr));
  EXPECT_EQ(Homes(read), kExpectedHomes);
  EXPECT_EQ(read[6].devices, (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace kestrel
