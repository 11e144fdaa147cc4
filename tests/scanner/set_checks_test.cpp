// Scans of small collections on disk, one kind of set layout at a time.
#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "platform/file_system.h"
#include "scanner/scan_fixture.h"
#include "scanner/scan_state.h"

namespace kestrel::testing {
namespace {

using Names = std::vector<std::string>;

const std::string kA(64, 'a'), kB(64, 'b'), kC(64, 'c'), kD(64, 'd'), kE(64, 'e'), kS(64, 's');

class SetChecksTest : public ScanFixture {};

TEST_F(SetChecksTest, ReportsEveryKindOfFindingInZipAndFolderSetsWithoutTouchingThem) {
  settings.scanMergeMode = 0;
  settings.checkCase = true;
  std::vector<TestRom> roms = {{"a.rom", kA}, {"b.rom", kB}, {"c.rom", kC},
                               {"d.rom", kD}, {"e.rom", kE}, {"sub.rom", kS}};
  AddGame("alpha", roms);
  AddGame("beta", {{"a.rom", kA}, {"b.rom", kB}, {"c.rom", kC}});
  AddGame("gamma", {{"a.rom", kA}});
  Link();
  WriteZipSet(romPath, "alpha",
              {{"a.rom", kA},
               {"B.ROM", kB},
               {"c.rom", kC + "xx"},
               {"renamed.rom", kD},
               {"e.rom", DataWithCrc(kE.size(), ~CrcOf(kE))},
               {"dir/sub.rom", kS},
               {"junk.txt", "junk"}});
  WriteFolderSet(romPath, "Beta", {{"a.rom", kA}, {"b.rom", kB.substr(2)}, {"C.rom", kC}});
  WriteFolderSet(romPath + "Beta/", "Extra", {{"x", "x"}});
  auto before = Snapshot();

  ScanOutcome outcome = Scan();

  EXPECT_TRUE(outcome.ranToEnd);
  EXPECT_EQ(Snapshot(), before);
  RomScan& b = Rom("alpha", "b.rom").romScan;
  EXPECT_TRUE(b.found && !b.caseCorrect && b.lengthCorrect && b.checksumCorrect);
  EXPECT_EQ(b.foundName, "B.ROM");
  RomScan& c = Rom("alpha", "c.rom").romScan;
  EXPECT_TRUE(c.found && !c.lengthCorrect && !c.checksumCorrect);
  EXPECT_EQ(c.foundSize, kC.size() + 2);
  EXPECT_FALSE(Rom("alpha", "d.rom").romScan.found);
  EXPECT_TRUE(Rom("alpha", "e.rom").romScan.checksumCorrect);  // stored complemented
  EXPECT_TRUE(Rom("alpha", "sub.rom").romScan.found);          // member inside a zip folder
  ASSERT_EQ(Game("alpha").scanRecordsB.size(), 1u);
  EXPECT_EQ(Game("alpha").scanRecordsB[0].rightName, "d.rom");
  EXPECT_EQ(UnneededNames("alpha"), (Names{"junk.txt", "renamed.rom"}));

  GameSet& beta = Game("beta");
  EXPECT_TRUE(beta.scanStatus[kSetFound] && !beta.scanStatus[kSetCaseCorrect]);
  EXPECT_EQ(beta.scanText2, "Beta");
  RomScan& shortRom = Rom("beta", "b.rom").romScan;
  EXPECT_TRUE(shortRom.found && !shortRom.lengthCorrect);
  EXPECT_EQ(Rom("beta", "c.rom").romScan.foundName, "C.rom");
  ASSERT_EQ(beta.scanRecordsA.size(), 1u);
  EXPECT_TRUE(beta.scanRecordsA[0].isFolder);

  EXPECT_FALSE(Game("gamma").scanStatus[kSetFound]);
  EXPECT_TRUE(HasLine("missing game: gamma game"));
  EXPECT_TRUE(HasLine("wrong name: " + romPath + "alpha/renamed.rom [wrong: renamed.rom] [right: d.rom]"));
  EXPECT_EQ(outcome.statistics.wrongSizedRoms, 2);
}

TEST_F(SetChecksTest, SplitSetsShareTheParentsRomsAndKeepCloneRomsInTheParent) {
  settings.scanMergeMode = 1;
  const std::string p1(32, '1'), p2(32, '2'), c1(32, '3'), c2(32, '4');
  AddGame("pa", {{"p1.rom", p1}, {"p2.rom", p2}});
  // p2.rom of the clone is named like the parent's but holds another content.
  AddGame("pc", {{"p1.rom", p1}, {"c1.rom", c1}, {"p2.rom", c2}}, "pa");
  Link();
  WriteZipSet(romPath, "pa", {{"p1.rom", p1}, {"p2.rom", p2}, {"c1.rom", c1}});
  // A file holding the complement of a parent ROM is no wrong-named copy.
  WriteZipSet(romPath, "pc", {{"c1.rom", c1}, {"p2.rom", c2}, {"other.rom", DataWithCrc(32, ~CrcOf(p2))}});

  Scan();

  EXPECT_TRUE(Rom("pc", "p1.rom").romScan.found);
  EXPECT_TRUE(Rom("pc", "c1.rom").romScan.found);
  EXPECT_TRUE(Rom("pc", "p2.rom").romScan.checksumCorrect);
  EXPECT_TRUE(Game("pc").scanRecordsB.empty());
  EXPECT_EQ(UnneededNames("pa"), Names{});
  EXPECT_EQ(UnneededNames("pc"), Names{"other.rom"});

  // Advanced Unneeded: the parent's copy of a ROM that the clone's own set
  // holds as well is surplus.
  settings.advancedUnneeded = true;
  Scan();
  EXPECT_EQ(UnneededNames("pa"), Names{"c1.rom"});
  // The clone's own copy of c1.rom stays needed, and so does its p2.rom,
  // whose content the parent's p2.rom is not.
  EXPECT_EQ(UnneededNames("pc"), Names{"other.rom"});
}

TEST_F(SetChecksTest, DoubleNamesAndZeroCrcStandIns) {
  settings.checkCase = true;
  settings.zeroCrcCreation = true;
  const std::string x(16, 'x');
  AddGame("al", {{"x.rom", x}, {"bad.rom", "", true, 4096}});
  AddGame("zz", {{"bad.rom", "", true, 100}, {"x.rom", x}});
  Link();
  Rom("al", "x.rom").aliasGroup = std::make_shared<AliasGroup>(AliasGroup{"x.rom", "y.rom"});
  WriteFolderSet(romPath, "al", {{"y.rom", x}});
  WriteZipSet(romPath, "zz", {{"x.rom", x}});
  // A file of the same name the user keeps in the temporary folder.
  WriteFile(settings.tempFolder + "bad.rom", "mine");

  Scan();

  EXPECT_EQ(ReadFile(settings.tempFolder + "bad.rom"), "mine");
  EXPECT_EQ(ListFolder(settings.tempFolder).size(), 1u) << "no work folder left behind";
  RomScan& alias = Rom("al", "x.rom").romScan;
  EXPECT_TRUE(alias.found && alias.caseCorrect);
  EXPECT_EQ(alias.searchName, "y.rom");
  EXPECT_TRUE(Rom("al", "bad.rom").romScan.found);
  EXPECT_EQ(ReadFile(romPath + "al/bad.rom"), std::string(4096, '\0'));
  EXPECT_TRUE(Rom("zz", "bad.rom").romScan.found);
  EXPECT_GE(Rom("zz", "bad.rom").romScan.memberIndex, 0);
  EXPECT_EQ(UnneededNames("al"), Names{});

  settings.allowDoubleNames = false;
  Scan();
  EXPECT_FALSE(Rom("al", "x.rom").romScan.found);
}

TEST_F(SetChecksTest, NeoGeoBiosInAnyRomPathCoversTheGamesBiosRoms) {
  std::string otherPath = root / "more/";
  settings.romPaths.push_back({otherPath});
  std::vector<std::string> bios;
  std::vector<TestRom> roms = {{"g.rom", kA}};
  for (size_t i = 0; i < 4; ++i) {
    bios.push_back(DataWithCrc(kNeoGeoBiosSize, kNeoGeoBiosCrcs[i]));
    roms.push_back({kNeoGeoBiosFiles[i], bios[i]});
  }
  GameSet& game = AddGame("ng1", roms);
  game.hasNeoGeoBios = true;
  AddGame("arc", {{"arc.rom", kA}, {"arc2.rom", kB}});  // an arcade game, absent
  Link();
  WriteZipSet(romPath, "ng1", {{"g.rom", kA}});
  WriteFolderSet(otherPath, "neogeo",
                 {{"neo-geo.rom", bios[0]}, {"ng-sfix.rom", bios[1]}, {"ng-sm1.rom", bios[2]}});

  ScanOutcome outcome = Scan();

  for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(Rom("ng1", kNeoGeoBiosFiles[i]).romScan.found);
  EXPECT_FALSE(Rom("ng1", "im_bios.rom").romScan.found);  // needs all four in place
  // Each kind of game counts where it belongs.
  const ScanStatistics& stats = outcome.statistics;
  EXPECT_EQ(std::vector<int>({stats.neoGeoGames, stats.neoGeoRoms, stats.missingNeoGeoGames,
                              stats.missingNeoGeoRoms, stats.arcadeGames, stats.arcadeRoms,
                              stats.missingArcadeGames, stats.missingArcadeRoms}),
            std::vector<int>({1, 5, 0, 1, 1, 2, 1, 2}));

  WriteFile(otherPath + "neogeo/im_bios.rom", bios[3]);
  Scan();
  EXPECT_TRUE(Rom("ng1", "im_bios.rom").romScan.found);
  EXPECT_FALSE(Game("ng1").needsScan);
}

TEST_F(SetChecksTest, AFileBeyondFourGigabytesIsNeverTheRightLength) {
  settings.checkName = settings.checkChecksum = settings.checkUnneeded = false;
  settings.checkLength = true;
  AddGame("huge", {{"a.rom", kA}});
  Link();
  WriteFolderSet(romPath, "huge", {{"a.rom", kA}});
  // Sparse: 2^32 bytes more than the ROM, which a 32-bit size would hide.
  std::filesystem::resize_file(romPath + "huge/a.rom", (uint64_t{1} << 32) + kA.size());

  Scan();

  RomScan& scan = Rom("huge", "a.rom").romScan;
  EXPECT_TRUE(scan.found && !scan.lengthCorrect);
  EXPECT_EQ(scan.foundSize, UINT32_MAX);
}

}  // namespace
}  // namespace kestrel::testing
