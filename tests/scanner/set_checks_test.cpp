// Scans of small collections on disk, one kind of set layout at a time.

#include "scanner/scan_fixture.h"
#include "scanner/scan_state.h"

namespace kestrel::testing {
namespace {

const std::string kA(64, 'a'), kB(64, 'b'), kC(64, 'c'), kD(64, 'd'), kE(64, 'e'), kS(64, 's');

class SetChecksTest : public ScanFixture {};

TEST_F(SetChecksTest, ReportsEveryKindOfFindingInZipAndFolderSetsWithoutTouchingThem) {
  settings.checkCase = true;
  AddGame("alpha",
          {{"a.rom", kA}, {"b.rom", kB}, {"c.rom", kC}, {"d.rom", kD}, {"e.rom", kE}, {"sub.rom", kS}, {"z.rom", "", true, 4}});
  AddGame("beta", {{"a.rom", kA}, {"b.rom", kB}, {"c.rom", kC}});
  AddGame("gamma", {{"a.rom", kA}});
  Link();
  AddSamples("alpha", {"m.wav", "s.wav"});
  WriteFolderSet(samplePath, "alpha", {{"S.WAV", "s"}});
  WriteZipSet(romPath, "alpha",
              {{"A.ROM", "not a rom"}, {"a.rom", kA}, {"B.ROM", kB}, {"c.rom", kC + "xx"}, {"renamed.rom", kD},
               {"e.rom", DataWithCrc(kE.size(), ~CrcOf(kE))}, {"dir/sub.rom", kS}, {"junk.txt", "junk"}});
  WriteFolderSet(romPath, "Beta", {{"a.rom", kA}, {"b.rom", kB.substr(2)}, {"C.rom", kC}});
  WriteFolderSet(romPath + "Beta/", "Extra", {{"x", "x"}});
  auto before = Snapshot();

  ScanOutcome outcome = Scan();

  EXPECT_TRUE(outcome.ranToEnd && Snapshot() == before);
  // Of two members whose names differ only in case, the exact one counts;
  // e.rom is stored complemented, sub.rom inside a zip folder; a ROM with
  // no dump beside them does not hide the wrongly named one.
  EXPECT_EQ(RomStates("alpha"), (Names{"a.rom", "b.rom case as B.ROM", "c.rom length crc", "d.rom missing", "e.rom",
                                       "sub.rom", "z.rom missing"}));
  EXPECT_EQ(RomScanOf("alpha", "c.rom").foundSize, kC.size() + 2);
  ASSERT_EQ(ScanOf("alpha").wrongNames.size(), 1u);
  EXPECT_EQ(ScanOf("alpha").wrongNames[0].rightName, "d.rom");
  EXPECT_EQ(UnneededNames("alpha"), (Names{"junk.txt", "renamed.rom"}));
  const SampleScan &missing = ScanOf("alpha").samples[0], &sample = ScanOf("alpha").samples[1];
  EXPECT_TRUE(!missing.found && sample.found && !sample.caseCorrect);

  SetScan& beta = ScanOf("beta");
  EXPECT_TRUE(beta.found && !beta.caseCorrect && beta.nameOnDisk == "Beta");
  EXPECT_EQ(RomStates("beta"), (Names{"a.rom", "b.rom length crc", "c.rom case as C.rom"}));
  ASSERT_EQ(beta.unneeded.size(), 1u);
  EXPECT_TRUE(beta.unneeded[0].isFolder);

  EXPECT_FALSE(ScanOf("gamma").found);
  EXPECT_TRUE(HasLine("missing game: gamma game"));
  EXPECT_TRUE(HasLine("wrong name: " + romPath + "alpha/renamed.rom [wrong: renamed.rom] [right: d.rom]"));
  EXPECT_EQ(outcome.statistics.wrongSizedRoms, 2);
}

TEST_F(SetChecksTest, DoubleNamesAndZeroCrcStandInsStayInsideTheirSets) {
  settings.checkCase = settings.zeroCrcCreation = true;
  const std::string x(16, 'x');
  AddGame("al", {{"x.rom", x}, {"bad.rom", "", true, 4096}});
  // A damaged list may give a set a name with a folder part.
  AddGame("../outside", {{"bad.rom", "", true, 16}});
  Link();
  Rom("al", "x.rom").aliasGroup = std::make_shared<AliasGroup>(AliasGroup{"x.rom", "y.rom"});
  WriteFolderSet(romPath, "al", {{"y.rom", x}});
  std::filesystem::create_directories(root / "outside");
  // A file of the same name the user keeps in the temporary folder.
  WriteFile(settings.tempFolder + "bad.rom", "mine");

  ScanOutcome outcome = Scan();
  EXPECT_TRUE(outcome.ranToEnd);
  EXPECT_EQ(outcome.statistics.badDumps, 2);

  EXPECT_EQ(ReadFile(settings.tempFolder + "bad.rom"), "mine");
  EXPECT_EQ(ListFolder(settings.tempFolder).size(), 1u) << "no work folder left behind";
  RomScan& alias = RomScanOf("al", "x.rom");
  EXPECT_TRUE(alias.found && alias.caseCorrect);
  EXPECT_EQ(alias.searchName, "y.rom");
  EXPECT_EQ(UnneededNames("al"), Names{}) << "a ROM under another name of its family is needed";
  EXPECT_EQ(ReadFile(romPath + "al/bad.rom"), std::string(4096, '\0'));
  EXPECT_TRUE(std::filesystem::is_empty(root / "outside"));
  EXPECT_FALSE(RomScanOf("../outside", "bad.rom").found);

  settings.allowDoubleNames = false;
  Scan();
  EXPECT_FALSE(RomScanOf("al", "x.rom").found);
  EXPECT_EQ(UnneededNames("al"), Names{"y.rom"});
}

// A file holding a relative's ROM under another name is wrongly named where
// parents and clones share their files; in non-merged sets it is a stray.
TEST_F(SetChecksTest, ARelativesRomUnderAnotherNameIsWrongNamedOnlyWhereSetsShareFiles) {
  AddGame("par", {{"p.rom", kA}});
  AddGame("clo", {{"p.rom", kA}, {"c.rom", kC}}, "par");
  Link();
  WriteFolderSet(romPath, "par", {{"p.rom", kA}, {"x.rom", kC}});
  const std::string wrongName = "wrong name: " + romPath + "par/x.rom [wrong: x.rom] [right: c.rom]";
  for (SetLayout layout : {SetLayout::kNonMerged, SetLayout::kSplit, SetLayout::kMerged}) {
    settings.scanMergeMode = layout;
    Scan();
    EXPECT_EQ(HasLine(wrongName), layout != SetLayout::kNonMerged) << int(layout);
  }
}

// The NeoGeo rules for lists that name no BIOS set.
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

  // The game needs all four in place for the fourth.
  EXPECT_EQ(RomStates("ng1"), (Names{"g.rom", "im_bios.rom missing", "neo-geo.rom", "ng-sfix.rom", "ng-sm1.rom"}));
  // Each kind of game counts where it belongs.
  const ScanStatistics& stats = outcome.statistics;
  EXPECT_EQ(std::vector<int>({stats.neoGeoGames, stats.neoGeoRoms, stats.missingNeoGeoGames,
                              stats.missingNeoGeoRoms, stats.arcadeGames, stats.arcadeRoms,
                              stats.missingArcadeGames, stats.missingArcadeRoms}),
            std::vector<int>({1, 5, 0, 1, 1, 2, 1, 2}));

  WriteFile(otherPath + "neogeo/im_bios.rom", bios[3]);
  Scan();
  EXPECT_TRUE(RomScanOf("ng1", "im_bios.rom").found);
  EXPECT_FALSE(ScanOf("ng1").needsScan);

  std::filesystem::remove(otherPath + "neogeo/ng-sm1.rom");
  Scan();
  EXPECT_FALSE(RomScanOf("ng1", kNeoGeoBiosFiles[0]).found) << "two of the first three are no BIOS";
}

// A split clone's ROM that its `merge` name shares with its parent lives in
// the parent's set under the parent's name; MAME also takes it there under
// the clone's own name.
TEST_F(SetChecksTest, SplitCloneFindsItsSharedRomInTheParentsSetUnderEitherName) {
  settings.scanMergeMode = SetLayout::kSplit;
  settings.allowDoubleNames = false;
  settings.advancedUnneeded = true;
  AddGame("par", {{"b.rom", kB}});
  AddGame("clo", {{"rb.rom", kB}, {"c.rom", kC}}, "par");
  Link();
  Rom("clo", "rb.rom").merge = "b.rom";
  WriteZipSet(romPath, "par", {{"b.rom", kB}});
  WriteZipSet(romPath, "clo", {{"c.rom", kC}});
  Scan();
  EXPECT_EQ(Lines(), Names{});

  std::filesystem::remove(romPath + "par.zip");
  WriteZipSet(romPath, "par", {{"rb.rom", kB}});
  Scan();
  Names lines = Lines();
  EXPECT_TRUE(std::ranges::none_of(lines, [](const std::string& line) { return line.find("clo") == 0; }))
      << ::testing::PrintToString(lines);
  EXPECT_TRUE(std::ranges::any_of(lines, [](const std::string& line) { return line.find("missing rom: b.rom") == 0; }))
      << ::testing::PrintToString(lines);
}

}  // namespace
}  // namespace kestrel::testing
