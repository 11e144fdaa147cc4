// The repairs, on real folders and zips: each kind in a folder set and in
// a zip set, and the backups.

#include "scanner/fix_operations.h"
#include "scanner/scan_fixture.h"
#include "support/faulty_file_system.h"
#include "support/stored_zip.h"

namespace kestrel::testing {
namespace {

const std::string kA(64, 'a'), kB(64, 'b'), kC(64, 'c'), kS(48, 's');

class RepairsTest : public RepairFixture {};

TEST_F(RepairsTest, CaseFixesRenameSetsRomsAndSamplesInFoldersAndZips) {
  settings.checkCase = settings.fixCase = true;
  AddGame("alpha", {{"a.rom", kA}, {"b.rom", kB}});
  AddGame("beta", {{"a.rom", kA}, {"c.rom", kC}});
  Link();
  AddSamples("alpha", {"boom.wav"});
  // B.ROM comes first in the zip and b.rom last after the repair.
  WriteZipSet(romPath, "ALPHA", {{"a.rom", kA}, {"B.ROM", kB}});
  WriteFolderSet(romPath, "Beta", {{"a.rom", kA}, {"C.Rom", kC}});
  WriteZipSet(samplePath, "alpha", {{"BOOM.wav", kS}});

  Scan();

  EXPECT_EQ(ZipMembers(romPath + "alpha.zip"), (Members{{"a.rom", kA}, {"b.rom", kB}}));
  EXPECT_TRUE(RomScanOf("alpha", "b.rom").checksumCorrect) << "looked up again after the repair";
  EXPECT_EQ(FileNames(romPath), (Names{"alpha.zip", "beta"}));
  EXPECT_EQ(FolderMembers(romPath + "beta"), (Members{{"a.rom", kA}, {"c.rom", kC}}));
  EXPECT_EQ(ZipMembers(samplePath + "alpha.zip"), (Members{{"boom.wav", kS}}));
  EXPECT_TRUE(HasLine("wrong spelling: alpha [wrong: ALPHA] [right: alpha] [fixed]"));
  EXPECT_TRUE(HasLine("wrong spelling: b.rom [wrong: B.ROM] [right: b.rom] [fixed]"));
  EXPECT_TRUE(HasLine("wrong spelling: c.rom [wrong: C.Rom] [right: c.rom] [fixed]"));
  EXPECT_EQ(FileNames(settings.tempFolder), Names{}) << "no work files left behind";

  Scan();
  EXPECT_EQ(Lines(), std::vector<std::string>{});
}

TEST_F(RepairsTest, AnswersDecideItemByItemAndForAllOfOneKind) {
  settings.checkCase = settings.fixCase = settings.askBeforeFixing = true;
  AddGame("alpha", {{"a.rom", kA}, {"b.rom", kB}, {"c.rom", kC}});
  Link();
  WriteFolderSet(romPath, "Alpha", {{"A.rom", kA}, {"B.rom", kB}, {"C.rom", kC}});
  // The set's folder: No; then No, then Yes To All: the first ROM stays,
  // the others follow unasked.
  ui.askAnswers = {kAnswerNo, kAnswerNo, kAnswerYesToAll};
  Scan();
  ASSERT_EQ(ui.questions.size(), 3u);
  EXPECT_EQ(ui.questions[0].title, "Fix Wrong Spelled Game 'alpha game' ?");
  EXPECT_EQ(ui.questions[0].text, "\nDo you want to rename 'Alpha' as 'alpha' ?");
  EXPECT_EQ(ui.questions[1].title, "Fix Wrong Spelled Roms In Gameset 'alpha game' ?");
  ASSERT_EQ(FileNames(romPath), (Names{"Alpha"}));
  std::filesystem::rename(romPath + "Alpha", romPath + "alpha");
  EXPECT_EQ(FileNames(romPath + "alpha"), (Names{"A.rom", "b.rom", "c.rom"}));
  // Stop ends the scan at once, with nothing changed.
  ui.askAnswers = {kAnswerStop};
  EXPECT_FALSE(Scan().ranToEnd);
  EXPECT_EQ(FileNames(romPath + "alpha"), (Names{"A.rom", "b.rom", "c.rom"}));
}

TEST_F(RepairsTest, WrongNamedRomsSwapTheirNamesInFoldersAndZips) {
  settings.fixName = true;
  AddGame("alpha", {{"a.rom", kA}, {"b.rom", kB}, {"c.rom", kC}});
  AddGame("beta", {{"a.rom", kA}, {"b.rom", kB}, {"c.rom", kC}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"a.rom", kB}, {"b.rom", kA}, {"x.rom", kC}});
  // Two copies of c.rom: one takes the name, the other stays as it is.
  WriteZipSet(romPath, "beta", {{"a.rom", kB}, {"b.rom", kA}, {"x.rom", kC}, {"y.rom", kC}});

  Scan();

  EXPECT_EQ(FolderMembers(romPath + "alpha"), (Members{{"a.rom", kA}, {"b.rom", kB}, {"c.rom", kC}}));
  EXPECT_EQ(ZipMembers(romPath + "beta.zip"), (Members{{"a.rom", kA}, {"b.rom", kB}, {"c.rom", kC}, {"y.rom", kC}}));
  EXPECT_TRUE(HasLine("wrong name: " + romPath + "alpha/x.rom [wrong: x.rom] [right: c.rom] [fixed]"));
  EXPECT_TRUE(RomScanOf("alpha", "c.rom").found && RomScanOf("beta", "a.rom").checksumCorrect);
}

// Two members of one name: the one under the wrong name is renamed, found
// by its entry, and the other keeps its name and contents.
TEST_F(RepairsTest, FixNameRenamesTheWrongOfTwoMembersOfOneName) {
  settings.fixName = true;
  AddGame("alpha", {{"a.rom", kA}, {"b.rom", kB}});
  Link();
  for (bool reversed : {false, true}) {
    WriteFile(romPath + "alpha.zip", StoredZip({{"b.rom", kB}, {"b.rom", kA}}, reversed));
    Scan();
    EXPECT_EQ(ZipMembers(romPath + "alpha.zip"), (Members{{"a.rom", kA}, {"b.rom", kB}})) << reversed;
    EXPECT_TRUE(RomScanOf("alpha", "a.rom").checksumCorrect) << reversed;
  }

  // x.rom would take a.rom's name, which cannot move on to b.rom's as
  // b.rom stays: neither moves, and nothing is overwritten.
  WriteZipSet(romPath, "alpha", {{"x.rom", kA}, {"a.rom", kB}, {"b.rom", "junk"}});
  Scan();
  EXPECT_EQ(ZipMembers(romPath + "alpha.zip"), (Members{{"x.rom", kA}, {"a.rom", kB}, {"b.rom", "junk"}}));
  EXPECT_TRUE(HasLine("wrong name: " + romPath + "alpha/x.rom [wrong: x.rom] [right: a.rom] [not fixed]"));
}

TEST_F(RepairsTest, ResizeFindsTheRomInsideALongerFileAndCutsItByteForByte) {
  settings.fixLength = true;
  const std::string rom = PseudoRandom(1048576, 7);
  std::string file = PseudoRandom(2097152, 8);
  file.replace(4096, rom.size(), rom);
  AddGame("alpha", {{"big.rom", rom}, {"bad.rom", "", true, 64}});
  AddGame("beta", {{"big.rom", rom}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"big.rom", file}, {"bad.rom", std::string(100, 'z')}});
  WriteZipSet(romPath, "beta", {{"big.rom", file}});

  Scan();

  EXPECT_EQ(ReadFile(romPath + "alpha/big.rom"), rom);
  EXPECT_EQ(ReadFile(romPath + "alpha/bad.rom"), std::string(64, 'z')) << "a bad dump keeps its start";
  EXPECT_EQ(ZipMembers(romPath + "beta.zip"), (Members{{"big.rom", rom}}));
  EXPECT_TRUE(HasLine("wrong length: big.rom [wrong: 2097152] [right: 1048576] [fixed]"));
  EXPECT_TRUE(RomScanOf("beta", "big.rom").checksumCorrect);
  // What was cut off is kept with the rest of the original.
  EXPECT_EQ(ZipMembers(settings.backupFolder + "alpha.zip"),
            (Members{{"bad.rom", std::string(100, 'z')}, {"big.rom", file}}));
  EXPECT_EQ(ZipMembers(settings.backupFolder + "beta.zip"), (Members{{"big.rom", file}}));

  // Without a backup the original stays as it is.
  WriteFile(romPath + "alpha/big.rom", file);
  settings.backupFolder = romPath + "alpha/big.rom/backup/";
  Scan();
  EXPECT_EQ(ReadFile(romPath + "alpha/big.rom"), file);
  EXPECT_TRUE(HasLine("wrong length: big.rom [wrong: 2097152] [right: 1048576] [not fixed]"));
}

TEST_F(RepairsTest, RemovalKeepsEverythingInOneBackupZipPerSet) {
  settings.fixUnneeded = true;
  AddGame("alpha", {{"a.rom", kA}});
  AddGame("beta", {{"a.rom", kA}});
  AddGame("gamma", {{"a.rom", kA}});
  AddGame("delta", {{"a.rom", kA}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"a.rom", kA}, {"junk.txt", "one"}, {"old/deep/x.bin", "x"}});
  WriteFolderSet(romPath, "delta", {{"junk.txt", "five"}});
  WriteZipSet(romPath, "beta", {{"a.rom", kA}, {"junk.txt", "two"}, {"more.txt", "three"}});
  WriteZipSet(romPath, "gamma", {{"junk.txt", "four"}});
  WriteFile(romPath + "stray.dat", "stray");

  Scan();

  EXPECT_EQ(FileNames(romPath + "alpha"), Names{"a.rom"});
  EXPECT_EQ(ZipMembers(romPath + "beta.zip"), (Members{{"a.rom", kA}}));
  EXPECT_FALSE(PathExists(romPath + "gamma.zip") || PathExists(romPath + "delta")) << "an emptied set goes";
  EXPECT_FALSE(PathExists(romPath + "stray.dat"));
  std::string backup = settings.backupFolder;
  EXPECT_EQ(ZipMembers(backup + "alpha.zip"), (Members{{"junk.txt", "one"}, {"old/deep/x.bin", "x"}}));
  EXPECT_EQ(ZipMembers(backup + "beta.zip"), (Members{{"junk.txt", "two"}, {"more.txt", "three"}}));
  EXPECT_EQ(ZipMembers(backup + "gamma.zip"), (Members{{"junk.txt", "four"}}));
  EXPECT_EQ(ZipMembers(backup + "delta.zip"), (Members{{"junk.txt", "five"}}));
  EXPECT_EQ(ZipMembers(backup + "_unknown.zip"), (Members{{"stray.dat", "stray"}}));
  EXPECT_TRUE(HasLine("unneeded file: " + romPath + "beta/more.txt [fixed]"));
  EXPECT_TRUE(HasLine("unneeded folder: " + romPath + "alpha/old [fixed]"));

  // A second removal from the same set adds to its zip and replaces nothing.
  WriteFile(romPath + "alpha/junk.txt", "again");
  Scan();
  EXPECT_EQ(ZipMembers(backup + "alpha.zip"),
            (Members{{"junk (2).txt", "again"}, {"junk.txt", "one"}, {"old/deep/x.bin", "x"}}));
}

TEST_F(RepairsTest, MissingRomsComeFromTheFamilysSetsInTheAddPaths) {
  settings.fixMissing = true;
  const std::string p1(32, '1'), c1(32, '3'), loose(40, 'l');
  // A copy whose CRC is the complement of the listed one fits as well.
  const std::string tilde = DataWithCrc(32, ~CrcOf("p2"));
  AddGame("parent", {{"p1.rom", p1}, {"p2.rom", "p2"}});
  Rom("parent", "p2.rom").size = 32;
  AddGame("clone", {{"p1.rom", p1}, {"c1.rom", c1}}, "parent");
  // A damaged list may give a ROM a name with a folder part.
  AddGame("other", {{"l.rom", loose}, {"o.rom", kA}, {"../up.rom", kB}}, "parent");
  Link();
  Rom("clone", "c1.rom").inParent = false;
  std::string addPath = root / "add/", disabledPath = root / "disabled/";
  settings.addPaths = {{disabledPath, false}, {addPath}};
  std::filesystem::create_directories(addPath);
  // A path switched off is not looked at, though its set would fit.
  WriteFolderSet(disabledPath, "other", {{"l.rom", loose}});
  WriteZipSet(addPath, "clone", {{"anything.bin", p1}, {"c1.rom", c1}, {"p2-tilde.bin", tilde}});
  WriteFolderSet(romPath, "other", {{"o.rom", kA}});
  WriteFile(addPath + "unrelated/x", "x");
  WriteZipSet(addPath, "somezip", {{"l-copy", loose}, {"b-copy", kB}});

  ScanOutcome outcome = Scan();

  EXPECT_EQ(std::make_pair(outcome.statistics.parents, outcome.statistics.clones), std::make_pair(1, 2));
  // The parent's ROMs go to the parent's set, the clone's own to its set.
  EXPECT_EQ(ZipMembers(romPath + "parent.zip"), (Members{{"p1.rom", p1}, {"p2.rom", tilde}}));
  EXPECT_EQ(ZipMembers(romPath + "clone.zip"), (Members{{"c1.rom", c1}}));
  EXPECT_TRUE(ScanOf("clone").found && !HasLine("missing game: clone game")) << "the set made is there";
  EXPECT_FALSE(RomScanOf("other", "l.rom").found) << "only advanced looks at every file";

  settings.fixMissingAdvanced = true;
  Scan();
  EXPECT_EQ(ReadFile(romPath + "other/l.rom"), loose) << "where a ROM was found in a folder";
  EXPECT_FALSE(PathExists(romPath + "up.rom")) << "nothing lands outside the set";
  Scan();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"other game [folder: other - parent: parent]",
                                               "missing rom: ../up.rom [length: 64] [chksum: b747ffe (f48b8001)]"}));

  // Should the set's zip hold the name in another case by the time the ROM
  // is added, that member is not joined by a second one of its name.
  std::filesystem::remove(romPath + "clone.zip");
  WriteZipSet(romPath, "clone", {{"C1.ROM", "mine"}});
  ScanState state;
  state.firstRomPath = romPath;
  ScanContext context{database, settings, state, &ui, &zipLibrary, {}, {}, {}, {}};
  RomScanOf("clone", "c1.rom").found = false;
  const size_t shown = ui.messages.size();
  EXPECT_TRUE(AddMissingRom(context, Game("clone"), ScanOf("clone"), FindRom(Game("clone"), "c1.rom")));
  EXPECT_EQ(ZipMembers(romPath + "clone.zip"), (Members{{"C1.ROM", "mine"}}));
  ASSERT_EQ(ui.messages.size(), shown + 1);
  EXPECT_EQ(ui.messages.back().text, "'" + romPath + "clone.zip' was not fixed:\nIt holds a member 'C1.ROM' already !");
}

TEST_F(RepairsTest, StandInsAreMadeOnlyWhereTheDiskKeepsItsReserve) {
  constexpr uint64_t kGiB = uint64_t{1} << 30;
  EXPECT_TRUE(LeavesRoomAfter({10 * kGiB, kGiB + 4096}, 4096));
  EXPECT_FALSE(LeavesRoomAfter({10 * kGiB, kGiB + 4096}, 4097));
  settings.zeroCrcCreation = true;
  AddGame("alpha", {{"a.rom", kA}, {"bad1.rom", "", true, 4096}, {"bad2.rom", "", true, 4096}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"a.rom", kA}});
  FaultyFileSystem nearlyFull;
  nearlyFull.ReportDiskSpace({100 * kGiB, 5 * kGiB + 4095});

  Scan(false, nearlyFull);

  EXPECT_EQ(FileNames(romPath + "alpha"), Names{"a.rom"});
  EXPECT_TRUE(HasLine("missing rom: bad1.rom [length: 4096] [chksum: 0 (ffffffff)] [not fixed]"));
  ASSERT_EQ(ui.messages.size(), 1u) << "one message for the scan";
  EXPECT_EQ(ui.messages[0].title, "0-CRC Files");

  FaultyFileSystem roomy;
  roomy.ReportDiskSpace({100 * kGiB, 6 * kGiB});
  Scan(false, roomy);
  EXPECT_EQ(FolderMembers(romPath + "alpha"),
            (Members{{"a.rom", kA}, {"bad1.rom", std::string(4096, '\0')}, {"bad2.rom", std::string(4096, '\0')}}));
}

}  // namespace
}  // namespace kestrel::testing
