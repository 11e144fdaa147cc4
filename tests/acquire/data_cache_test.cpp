#include "gamedb/data_cache.h"

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "platform/file_system.h"
#include "support/game_records.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using namespace std::string_literals;
using testing::ReadFile;
using testing::Rom;
using testing::TempFolder;
using testing::WriteFile;

// A parent with a clone, aliases, samples, a no-dump ROM, a BIOS link and
// texts long enough for both longer length forms.
GameList SampleDatabase() {
  GameSet parent;
  parent.name = "pacman";
  parent.description = std::string(300, 'd');
  parent.index = 0;
  parent.isParent = true;
  parent.isBios = true;
  parent.hasSampleOf = true;
  parent.sampleOf = "pacsmp";
  parent.clones = {{"Puck Man", 1}};
  parent.cloneCount = 1;
  parent.roms = {Rom("a.rom", 4096, 0x12345678), Rom("nodump.rom", 16, 0)};
  parent.samples.resize(2);
  parent.samples[0].name = "bang.wav";
  parent.samples[1].name = std::string(0xFFFE, 'x');  // the first length of the longest form
  parent.roms[0].sha1 = ParseSha1("0123456789abcdef0123456789abcdef01234567");
  parent.disks = {DiskEntry{"hdd", ParseSha1("fedcba9876543210fedcba9876543210fedcba98"), "", DumpStatus::kBadDump, true},
                  DiskEntry{"cd", std::nullopt, "cd0", DumpStatus::kNoDump, false}};
  GameSet clone;
  clone.name = "puckman";
  clone.description = "Puck Man";
  clone.index = 1;
  clone.parentIndex = 0;
  clone.hasParent = true;
  clone.hasNeoGeoBios = true;
  clone.cloneOf = "pacman";
  clone.romOf = "pacman";
  clone.biosOf = "pacman";
  clone.biosIndex = 0;
  clone.roms = {Rom("b.rom", 4096, 0x12345678)};
  clone.roms[0].inParent = false;
  clone.roms[0].merge = "a.rom";
  clone.roms[0].biosRom = 0;
  return {parent, clone};
}

TEST(DataCacheTest, RoundTripKeepsEveryStoredFieldInTheFileLayout) {
  TempFolder folder;
  const RomlessMachines romless = {{"pong", "", {}}, {"ie15", "ie", {"ie15_device", "ie15kbd"}}};
  ASSERT_TRUE(WriteDataCache(folder / "_datdat", SampleDatabase(), 0xCAFEF00D, romless));
  std::string bytes = ReadFile(folder / "_datdat");
  EXPECT_EQ(bytes.substr(0, 20), std::string("\x07" "DATFILE\x05\0\0\0\x0D\xF0\xFE\xCA\x02\0\0\0", 20));
  EXPECT_EQ(bytes.find(std::string("\xFF\x2C\x01") + std::string(300, 'd')), 70u);
  EXPECT_NE(bytes.find(std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7) + "xxx"), std::string::npos);
  EXPECT_EQ(ListFolder(folder.path()).size(), 1u) << "no temporary file left";

  GameList read(5);
  RomlessMachines readRomless;
  ASSERT_TRUE(ReadDataCache(folder / "_datdat", read, 0xCAFEF00D, nullptr, &readRomless));
  // Written again, the read sets give the same bytes: every stored field came back.
  ASSERT_TRUE(WriteDataCache(folder / "again", read, 0xCAFEF00D, readRomless));
  EXPECT_EQ(ReadFile(folder / "again"), bytes);
  // Aliases are not stored but derived from the family's ROMs.
  EXPECT_EQ(AliasesOf(read[1].roms[0]), std::vector<std::string>{"a.rom"});
  EXPECT_EQ(read[0].roms[0].aliasGroup, read[1].roms[0].aliasGroup);
}

TEST(DataCacheTest, DamagedCachesFailAndMissesLeaveTheDatabase) {
  TempFolder folder;
  ASSERT_TRUE(WriteDataCache(folder / "c", SampleDatabase(), 7));
  std::string good = ReadFile(folder / "c");
  ASSERT_EQ(good.substr(396, 13), "\x01\0\0\0\x08"s + "Puck Man");
  GameList database;
  // Cut short anywhere.
  for (size_t length = 0; length < good.size(); length += (length < 120 ? 1 : 4999)) {
    WriteFile(folder / "c", good.substr(0, length));
    EXPECT_FALSE(ReadDataCache(folder / "c", database, 7, nullptr)) << length;
    EXPECT_TRUE(database.empty());
  }
  auto patched = [&](size_t offset, std::string bytes) {
    std::string damaged = good;
    damaged.replace(offset, bytes.size(), bytes);
    WriteFile(folder / "c", damaged);
    return ReadDataCache(folder / "c", database, 7, nullptr);
  };
  EXPECT_FALSE(patched(16, "\xFF\xFF\xFF\x7F"s));  // set count
  EXPECT_FALSE(patched(48, "\xFF\xFF\xFF\x0F"s));  // the first set's ROM count
  // The links at the edges of their range: the last set is a valid clone,
  // one past it and -1 are not.
  EXPECT_TRUE(patched(396, "\x01\0\0\0"s));
  EXPECT_FALSE(patched(396, "\x02\0\0\0"s));
  EXPECT_FALSE(patched(396, "\xFF\xFF\xFF\xFF"s));
  // The BIOS links likewise: a ROM of the BIOS set, and the BIOS set itself.
  size_t biosIndex = good.rfind("\x06pacman") + 7;
  // The last set ends with its last ROM's BIOS link, status, optional mark,
  // device link and SHA-1 mark, then its disk count; the count of machines
  // without ROMs follows.
  size_t biosRom = good.size() - 32;
  EXPECT_FALSE(patched(biosRom, "\x02\0\0\0"s));
  EXPECT_FALSE(patched(biosIndex, "\x02\0\0\0"s));
  // A device link names a set of the list and one of its ROMs, or neither.
  size_t deviceSet = good.size() - 20;
  EXPECT_TRUE(patched(deviceSet, "\0\0\0\0\0\0\0\0"s));
  EXPECT_FALSE(patched(deviceSet, "\x02\0\0\0\0\0\0\0"s));
  EXPECT_FALSE(patched(deviceSet, "\0\0\0\0"s));
  EXPECT_FALSE(patched(deviceSet + 4, "\0\0\0\0"s));
  database.clear();
  EXPECT_FALSE(patched(40, "\x01\0\0\0"s));        // an index that is not the position
  EXPECT_FALSE(patched(24, "\x02\0\0\0"s));        // a flag that is neither 0 nor 1
  EXPECT_TRUE(database.empty());
  EXPECT_TRUE(patched(0, ""s));

  // A miss (another key, a cache of another format) leaves the database;
  // a cancel empties it.
  WriteFile(folder / "older", good.substr(0, 8) + '\0' + good.substr(9));
  EXPECT_FALSE(ReadDataCache(folder / "c", database, 8, nullptr));
  EXPECT_FALSE(ReadDataCache(folder / "older", database, 7, nullptr));
  EXPECT_EQ(database.size(), 2u);
  ScriptedInterface ui;
  ui.cancelAtCheck = 2;
  EXPECT_FALSE(ReadDataCache(folder / "c", database, 7, &ui));
  EXPECT_TRUE(database.empty());
  EXPECT_EQ(ui.openProgressDialogs, 0);
}

}  // namespace
}  // namespace kestrel
