// Repairs that cannot or must not be done: each tells which file and why,
// one message each, and leaves the collection as it was.
#include "scanner/crc_window_search.h"
#include "scanner/fix_operations.h"
#include "scanner/scan_fixture.h"
#include "scanner/scan_state.h"
#include "support/faulty_file_system.h"

namespace kestrel::testing {
namespace {

const std::string kA(64, 'a'), kB(64, 'b'), kG(64, 'g'), kZeros(16, '\0');
constexpr uint64_t kGiB = uint64_t{1} << 30;

class RepairRefusalsTest : public RepairFixture {
 protected:
  Names Messages() const {
    Names texts;
    for (const RecordedMessage& m : ui.messages) texts.push_back(m.title + ": " + m.text);
    return texts;
  }
  static std::string NotFixed(const std::string& path, const std::string& reason) {
    return "Fix Failed: '" + path + "' was not fixed:\n" + reason;
  }
};

TEST_F(RepairRefusalsTest, EachFailedResizeOrRemovalNamesItsFileAndReason) {
  settings.fixLength = settings.fixUnneeded = true;
  const std::string rom = PseudoRandom(4096, 3);
  AddGame("alpha", {{"big.rom", rom}});
  AddGame("beta", {{"big.rom", rom}});
  AddGame("gamma", {{"short.rom", rom}});
  AddGame("delta", {{"a.rom", kA}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"big.rom", "xx" + rom}});
  WriteZipSet(romPath, "beta", {{"big.rom", rom + "yy"}});
  WriteFolderSet(romPath, "gamma", {{"short.rom", rom.substr(0, 4000)}});  // never offered for cutting
  WriteFolderSet(romPath, "delta", {{"a.rom", kA}, {"gone.txt", "gone"}, {"junk.txt", "junk"}});
  FaultyFileSystem faulty;
  faulty.Vanish("*gone.txt");
  faulty.Fail({FileOperation::kCreateFolder, settings.tempFolder + "*"});
  faulty.Fail({FileOperation::kDelete, "*junk.txt"});
  const auto before = Snapshot(true);

  Scan(false, faulty);

  const std::string noWork = "No work folder in the temporary folder !";
  EXPECT_EQ(Messages(), (Names{NotFixed(romPath + "alpha/big.rom", noWork), NotFixed(romPath + "beta.zip", noWork),
                               NotFixed(romPath + "delta/gone.txt", "It no longer exists !"),
                               NotFixed(romPath + "delta/junk.txt", "It could not be deleted (completely) !")}));
  EXPECT_EQ(Snapshot(true), before);
  EXPECT_EQ(ZipMembers(settings.backupFolder + "delta.zip"), (Members{{"junk.txt", "junk"}}));
}

// A damaged list may give a ROM without a dump an impossible size or a name
// with a folder part; a set that is nowhere gets no stand-in either.
TEST_F(RepairRefusalsTest, StandInsAreMadeOnlyForPlainNamesOfPossibleSizesInSetsThatExist) {
  settings.zeroCrcCreation = true;
  const std::vector<TestRom> roms = {{"a.rom", kA}, {"ok.rom", "", true, 16}, {"neg.rom", "", true, -1},
                                     {"../up.rom", "", true, 16}, {"sub/in.rom", "", true, 16}};
  AddGame("alpha", roms);
  AddGame("beta", roms);
  AddGame("gamma", {{"ok.rom", "", true, 16}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"a.rom", kA}});
  WriteZipSet(romPath, "beta", {{"a.rom", kA}});
  FaultyFileSystem roomy, noWorkFolder;
  for (FaultyFileSystem* fs : {&roomy, &noWorkFolder}) fs->ReportDiskSpace({100 * kGiB, 60 * kGiB});
  noWorkFolder.Fail({FileOperation::kCreateFolder, settings.tempFolder + "*"});
  const auto before = Snapshot();
  // Where a file given no folder would land.
  const std::filesystem::path startFolder = std::filesystem::current_path();
  std::filesystem::current_path(settings.tempFolder);
  Scan(false, noWorkFolder);
  EXPECT_EQ(Snapshot(), before);
  Scan(false, roomy);
  std::filesystem::current_path(startFolder);

  EXPECT_EQ(FolderMembers(romPath + "alpha"), (Members{{"a.rom", kA}, {"ok.rom", kZeros}}));
  EXPECT_EQ(FileNames(romPath), (Names{"alpha", "beta.zip"}));
  EXPECT_EQ(ZipMembers(romPath + "beta.zip"), (Members{{"a.rom", kA}, {"ok.rom", kZeros}}));
  EXPECT_EQ(Messages(), Names{});
  EXPECT_EQ(FileNames(settings.tempFolder), Names{});
}

// Files of a missing ROM's name and size with other contents are no copy of
// it; a copy that fails leaves no set folder behind, and a ROM path that went
// away gets nothing.
TEST_F(RepairRefusalsTest, MissingRomsComeOnlyFromCopiesAndOnlyWhereTheyCanBeWritten) {
  settings.fixMissing = settings.fixMissingAdvanced = true;
  AddGame("alpha", {{"a.rom", kA}, {"b.rom", kB}});
  AddGame("gamma", {{"g.rom", kG}, {"b.rom", kB}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"b.rom", kB}});
  // Kept as a folder in another ROM path: the ROM goes to a folder made in the first.
  const std::string addPath = root / "add/", morePath = root / "more/";
  settings.romPaths.push_back({morePath});
  settings.addPaths = {{addPath}};
  WriteFolderSet(morePath, "gamma", {{"b.rom", kB}});
  WriteFolderSet(addPath, "alpha", {{"a.rom", std::string(64, 'x')}});
  WriteFile(addPath + "a.rom", std::string(64, 'y'));
  WriteFolderSet(addPath, "gamma", {{"g.rom", kG}});
  FaultyFileSystem faulty, gone;
  faulty.Fail({FileOperation::kCreate, romPath + "gamma/*"});
  gone.Vanish(romPath + "*");

  Scan(false, gone);
  EXPECT_EQ(Messages(), Names{NotFixed(romPath, "The folder no longer exists !")});
  ui.messages.clear();
  Scan(false, faulty);
  EXPECT_EQ(Messages(), Names{NotFixed(romPath + "gamma/g.rom", "It could not be written !")});
  EXPECT_EQ(FileNames(romPath), Names{"alpha"});
  EXPECT_EQ(FolderMembers(romPath + "alpha"), (Members{{"b.rom", kB}}));
  Scan();
  EXPECT_EQ(FolderMembers(romPath + "gamma"), (Members{{"g.rom", kG}}));
}

// A search for the ROM inside an over-long file that outlasts its interval
// asks whether to go on, again after every interval; "No" leaves the file.
TEST_F(RepairRefusalsTest, TheResizeSearchStopsAtNoAndGoesOnAtYes) {
  settings.fixLength = true;
  const std::string rom = PseudoRandom(1 << 20, 1);
  std::string file = PseudoRandom(2 << 20, 2);
  file.replace(file.size() - rom.size() - 1, rom.size(), rom);  // found last
  AddGame("alpha", {{"big.rom", rom}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"big.rom", file}});
  ScanRequest request;
  request.zipLibrary = &zipLibrary;
  request.dataFolder = root / "program/";
  request.resizeQuestionMilliseconds = 0;
  request.showStatistics = false;
  ui.messageAnswers = {kResultYes, kResultNo};

  RunScan(database, scanResults, settings, &ui, results, request);
  const std::string question =
      "Timeout !: It looks like the ROM cannot be resized !\nShould Kestrel continue fixing this ROM ?";
  EXPECT_EQ(Messages(), (Names{question, question,
                               NotFixed(romPath + "alpha/big.rom", "The ROM was not found in it !")}));
  EXPECT_EQ(ReadFile(romPath + "alpha/big.rom"), file);
  RunScan(database, scanResults, settings, &ui, results, request);  // every answer Yes
  EXPECT_EQ(ReadFile(romPath + "alpha/big.rom"), rom);
}

TEST_F(RepairRefusalsTest, StandInsAreMadeOnlyWhereTheDiskKeepsItsReserve) {
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

// Should the set's zip hold the name in another case by the time a missing
// ROM is added, that member is not joined by a second one of its name.
TEST_F(RepairRefusalsTest, AnAddedRomNeverJoinsAMemberOfItsNameInAnotherCase) {
  settings.fixMissing = true;
  AddGame("clone", {{"c1.rom", kA}});
  Link();
  std::filesystem::create_directories(root / "add");
  WriteZipSet(root / "add/", "clone", {{"c1.rom", kA}});
  settings.addPaths = {{root / "add/"}};
  Scan();
  std::filesystem::remove(romPath + "clone.zip");
  WriteZipSet(romPath, "clone", {{"C1.ROM", "mine"}});
  ScanState state;
  state.firstRomPath = romPath;
  ScanContext context{database, settings, state, &ui, &zipLibrary, {}, {}, {}, {}};
  RomScanOf("clone", "c1.rom").found = false;
  ui.messages.clear();
  EXPECT_TRUE(AddMissingRom(context, Game("clone"), ScanOf("clone"), 0));
  EXPECT_EQ(ZipMembers(romPath + "clone.zip"), (Members{{"C1.ROM", "mine"}}));
  EXPECT_EQ(Messages(), Names{NotFixed(romPath + "clone.zip", "It holds a member 'C1.ROM' already !")});
}

// An add path switched off is never looked at, though its set would fit.
TEST_F(RepairRefusalsTest, AnAddPathSwitchedOffIsNotLookedAt) {
  settings.fixMissing = settings.fixMissingAdvanced = true;
  AddGame("alpha", {{"a.rom", kA}});
  Link();
  WriteFolderSet(root / "off/", "alpha", {{"a.rom", kA}});
  settings.addPaths = {{root / "off/", false}};
  Scan();
  EXPECT_EQ(FileNames(romPath), Names{});
}

// No window of no bytes, nor one longer than the data, is ever found.
TEST(CrcWindowEdgesTest, EmptyAndOverlongWindowsAreNeverFound) {
  const std::string data = PseudoRandom(100, 3);
  const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
  auto on = [] { return true; };
  EXPECT_EQ(FindCrcWindow(bytes, data.size(), 0, 0, on), std::nullopt);
  EXPECT_EQ(FindCrcWindow(bytes, data.size(), 101, CrcOf(data), on), std::nullopt);
  EXPECT_EQ(FindCrcWindow(bytes, data.size(), 100, CrcOf(data), on), std::optional<size_t>(0));
}

}  // namespace
}  // namespace kestrel::testing
