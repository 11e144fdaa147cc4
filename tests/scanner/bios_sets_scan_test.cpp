// Scans of games that take ROMs from shared BIOS sets, in the four layouts.
#include <algorithm>
#include <filesystem>

#include "settings/layout_codes.h"
#include "gamedb/game_list_file.h"
#include "gamedb/validate_games.h"
#include "scanner/scan_fixture.h"
#include "support/bios_family.h"

namespace kestrel::testing {
namespace {

using Texts = std::vector<std::string>;

const char kMissingBiosA1[] = "missing rom: bios-a1.bin [length: 1024] [chksum: a1a1a1a1 (5e5e5e5e)]";

class BiosSetsScanTest : public ScanFixture {
 protected:
  void SetUp() override {
    settings.checkCase = settings.checkLength = settings.checkChecksum = settings.advancedUnneeded = true;
  }

  void LoadList(const std::string& list) {
    WriteFile(root / "list.dat", list);
    auto progress = OpenProgressDialog(nullptr, "");
    GameList raw;
    ListMessages listMessages;
    ASSERT_TRUE(ParseGameList(raw, root / "list.dat", *progress, false, listMessages));
    ASSERT_TRUE(ValidateGames(raw, database, *progress, kShowSetErrors, listMessages));
  }

  // Replaces the ROM path's contents with `sets`, each a zip.
  void WriteCollection(const Collection& sets) {
    std::filesystem::remove_all(romPath);
    std::filesystem::create_directories(romPath);
    for (const auto& [name, members] : sets) WriteZipSet(romPath, name, members);
  }

  Texts ScanIn(int layout) {
    settings.scanMergeMode = kToolLayoutCodes[layout];
    Scan();
    return Lines();
  }

  int Count(const Texts& lines, const std::string& text) { return std::count(lines.begin(), lines.end(), text); }
};

TEST_F(BiosSetsScanTest, FullNonMergedScanOfASplitCollectionAsksForEveryBiosRomInEachGame) {
  LoadList(BiosFamilyText());
  WriteCollection(BiosFamilyCollection(1));
  Texts lines = ScanIn(3);
  EXPECT_EQ(Count(lines, kMissingBiosA1), 2);  // gamea, gamea2
  EXPECT_EQ(Count(lines, "missing rom: bios-b.bin [length: 1024] [chksum: b1b1b1b1 (4e4e4e4e)]"), 3);  // gameb, gameb2, gamec
  EXPECT_EQ(Count(lines, "missing game: Game C"), 1);

  // Scanned non-merged, a clone's own ROM in its parent's set is a stray.
  WriteCollection(BiosFamilyCollection(2));
  ScanIn(0);
  EXPECT_EQ(UnneededNames("gamea"), Texts{"gamea2.p1"});
}

// A game's copy of a BIOS ROM is a spare where the BIOS set holds it too,
// and the only copy where it does not; so is a split clone's copy of a
// ROM its parent's set holds.
TEST_F(BiosSetsScanTest, AGamesCopyOfABiosRomIsUnneededOnlyBesideTheBiosSetsCopy) {
  LoadList(BiosFamilyText());
  Collection sets = BiosFamilyCollection(1);
  sets["gamea"]["a2.bin"] = BiosFamilyData(0xa2a2a2a2);
  sets["gameb"]["bios-b.bin"] = BiosFamilyData(0xb1b1b1b1);
  sets["gamea2"]["gamea.p2"] = BiosFamilyData(0x0a0a0a02);
  sets["biosb"].erase("bios-b.bin");
  WriteCollection(sets);
  Texts lines = ScanIn(1);
  EXPECT_EQ(Count(lines, "unneeded file: " + romPath + "gamea/a2.bin"), 1);
  EXPECT_EQ(Count(lines, "unneeded file: " + romPath + "gamea2/gamea.p2"), 1);
  EXPECT_EQ(UnneededNames("gameb"), Texts{});
  settings.advancedUnneeded = false;
  lines = ScanIn(1);
  EXPECT_EQ(UnneededNames("gamea"), Texts{});
}

// A stand-in for a BIOS ROM without a known dump belongs in the BIOS set,
// which makes its own; a game gets one only where the layout gives it its
// own copy of the BIOS ROMs. A missing BIOS set gets none.
TEST_F(BiosSetsScanTest, AZeroCrcStandInOfABiosRomGoesIntoTheBiosSetOnly) {
  settings.zeroCrcCreation = true;
  LoadList("game ( name bz description \"BIOS Z\" rom ( name nd.bin size 16 crc 00000000 ) )\n"
           "game ( name gy description \"Game Y\" romof bz rom ( name g.rom size 1024 crc 0a0a0a01 )"
           " rom ( name nd.bin merge nd.bin size 16 crc 00000000 ) )\n"
           "game ( name gz description \"Game Z\" romof bz rom ( name g.rom size 1024 crc 0a0a0a01 )"
           " rom ( name nd.bin merge nd.bin size 16 crc 00000000 ) )\n");
  for (int layout : {1, 2, 0, 3}) {
    SCOPED_TRACE(layout);
    WriteCollection({{"gy", {{"g.rom", BiosFamilyData(0x0a0a0a01)}}}, {"gz", {{"g.rom", BiosFamilyData(0x0a0a0a01)}}}});
    ScanIn(layout);
    EXPECT_EQ(ZipMembers(romPath + "gz.zip").count("nd.bin"), layout == 3 ? 1u : 0u);
    WriteZipSet(romPath, "bz", {{"other.bin", "x"}});
    ScanIn(layout);
    EXPECT_EQ(ZipMembers(romPath + "bz.zip").count("nd.bin"), 1u);
    EXPECT_EQ(ZipMembers(romPath + "gy.zip").count("nd.bin"), layout == 3 ? 1u : 0u);
  }
}

}  // namespace
}  // namespace kestrel::testing
