// The scan as a whole: what it looks at, what it leaves alone, and when it
// ends early.

#include <algorithm>

#include "scanner/scan_fixture.h"

namespace kestrel::testing {
namespace {

const std::string kR(32, 'r'), kQ(32, 'q');

class ScanDriverTest : public ScanFixture {
 protected:
  // Two games: "good" complete, "bad" missing one ROM.
  void MakeTwoGames() {
    AddGame("good", {{"r.rom", kR}});
    AddGame("bad", {{"r.rom", kR}, {"q.rom", kQ}});
    Link();
    WriteZipSet(romPath, "good", {{"r.rom", kR}});
    WriteZipSet(romPath, "bad", {{"r.rom", kR}});
  }
};

TEST_F(ScanDriverTest, TopLevelReportsOnlyStrayEntriesOutsideProtectedFolders) {
  MakeTwoGames();
  settings.tempFolder = romPath + "tmp/";
  settings.backupFolder = romPath + "BACKUP/";
  settings.miscPaths = {{romPath + "misc/"}};
  settings.samplePaths = {{samplePath}, {romPath + "nested/"}};
  for (const char* folder : {"tmp", "backup", "misc", "nested", "program", "neogeo", "oldset"})
    std::filesystem::create_directories(romPath + folder);
  std::filesystem::create_directories(samplePath + "YM3812");
  WriteFile(romPath + "stray.txt", "?");
  WriteFile(romPath + "GOOD.zip.bak", "?");
  ScanRequest request;
  request.dataFolder = romPath + "program/";
  auto before = Snapshot();

  RunScan(database, scanResults, settings, &ui, results, request);

  EXPECT_EQ(Snapshot(), before);
  Names lines;
  for (const ResultLine& line : results.lines)
    if (line.kind == kResultUnneeded && line.level == kTopLevel) lines.push_back(line.text);
  EXPECT_EQ(lines, (Names{"unneeded file: " + romPath + "GOOD.zip.bak",
                          "unneeded folder: " + romPath + "oldset",
                          "unneeded file: " + romPath + "stray.txt"}));
  EXPECT_EQ(ScanOf("good").unneeded.size(), 0u);
}

// What a killed zip write left beside a set is cleared, with Fix Unneeded,
// before the paths are looked at: it is kept in the backup folder, and is
// then no unneeded file.
// Without the fix a scan changes nothing and reports them as unneeded.
TEST_F(ScanDriverTest, LeftoversOfInterruptedZipWritesAreClearedFirst) {
  MakeTwoGames();
  WriteFile(romPath + "good.zip.k3j9x0", "PK partial");
  WriteFile(samplePath + "gone.zip.p0o9i8", "PK alone");
  Scan();
  EXPECT_EQ(FileNames(romPath), (Names{"bad.zip", "good.zip", "good.zip.k3j9x0"}));
  EXPECT_TRUE(HasLine("unneeded file: " + romPath + "good.zip.k3j9x0"));

  settings.fixUnneeded = true;
  Scan();

  EXPECT_EQ(FileNames(romPath), (Names{"bad.zip", "good.zip"}));
  EXPECT_EQ(FileNames(samplePath), Names{});
  EXPECT_EQ(ReadFile(settings.backupFolder + "gone.zip.p0o9i8"), "PK alone");
  EXPECT_TRUE(HasLine("interrupted write: " + romPath + "good.zip.k3j9x0 [moved to " + settings.backupFolder +
                      "good.zip.k3j9x0]"));
  EXPECT_TRUE(HasLine("interrupted write: " + samplePath + "gone.zip.p0o9i8 [moved to " + settings.backupFolder +
                      "gone.zip.p0o9i8]"));
}

TEST_F(ScanDriverTest, FileNeededBySamplesIsNotUnneededInTheRomSetOfTheSameFolder) {
  settings.samplePaths = {{romPath}};
  AddGame("both", {{"r.rom", kR}});
  Link();
  AddSamples("both", {"s.wav"});
  WriteFolderSet(romPath, "both", {{"r.rom", kR}, {"s.wav", "s"}, {"extra.bin", "e"}});
  Scan();
  EXPECT_EQ(UnneededNames("both"), (Names{"extra.bin"}));
  EXPECT_TRUE(ScanOf("both").samples[0].found);
}

TEST_F(ScanDriverTest, FastscanLooksOnlyAtGamesThatHadFindings) {
  MakeTwoGames();
  ASSERT_TRUE(Scan().ranToEnd);
  EXPECT_EQ(std::filesystem::file_size(settings.fastscanFile), database.size() + 100);
  EXPECT_FALSE(ScanOf("good").needsScan);

  // The options of the full scan come back with the file.
  settings.checkMissing = false;
  ui.progressTexts.clear();
  EXPECT_TRUE(Scan(true).ranToEnd);
  EXPECT_TRUE(settings.checkMissing);
  EXPECT_EQ(ui.progressTexts, (Names{"", "\n\n bad game"}));
  EXPECT_TRUE(ScanOf("bad").needsScan);

  // Once the missing ROM is there, the next fastscan clears the last flag.
  std::filesystem::remove(romPath + "bad.zip");
  WriteZipSet(romPath, "bad", {{"r.rom", kR}, {"q.rom", kQ}});
  Scan(true);
  EXPECT_FALSE(ScanOf("bad").needsScan);
}

TEST_F(ScanDriverTest, EndsBeforeTouchingAnythingWhenRefused) {
  MakeTwoGames();
  Scan();
  std::vector<ResultLine> lines = results.lines;
  auto statusOf = [&](const SetScan& scan) {
    return std::tuple(scan.found, scan.caseCorrect, scan.caseFixed, scan.nameOnDisk);
  };
  auto status = statusOf(ScanOf("good"));
  auto unchanged = [&] {
    EXPECT_EQ(results.lines.size(), lines.size());
    EXPECT_EQ(statusOf(ScanOf("good")), status);
  };

  // A fastscan without its file.
  settings.fastscanFile = root / "none.fsc";
  EXPECT_TRUE(Scan(true).refused);
  unchanged();

  // Removing unneeded files without backups, declined.
  settings.fastscanFile = root / "fastscan.fsc";
  settings.fixUnneeded = true;
  settings.makeBackups = false;
  ui.messageAnswers = {kResultNo};
  EXPECT_TRUE(Scan().refused);
  EXPECT_EQ(ui.messages.back().title, "Warning !");
  unchanged();

  // A path warning, cancelled; a path switched off is never warned about.
  settings.pathWarnings = true;
  settings.romPaths.push_back({root / "off/", false});
  ui.messageAnswers = {kResultCancel};
  EXPECT_TRUE(Scan().refused);
  EXPECT_EQ(ui.messages.back().title, "Path Warning");
  unchanged();
}

// The set is read again by every check that looks at it; the user hears of
// a damaged zip once per scan, and its folder is looked at instead.
// The zip library's header check holds for every read of the scan: a set
// whose central header disagrees with its local one reads with the plain
// check and is a damaged zip with the strict one.
TEST_F(ScanDriverTest, DamagedZipIsExplainedOncePerScanAndThenLookedForAsAFolder) {
  AddGame("dmg", {{"r.rom", kR}});
  AddGame("odd", {{"r.rom", kR}});
  Link();
  WriteFile(romPath + "dmg.zip", "PK\x03\x04 not really a zip");
  WriteFolderSet(romPath, "dmg", {{"r.rom", kR}});
  WriteZipSet(romPath, "odd", {{"r.rom", kR}});
  std::string bytes = ReadFile(romPath + "odd.zip");
  bytes[bytes.find("PK\1\2") + 12] ^= 0x01;  // the modification time
  WriteFile(romPath + "odd.zip", bytes);
  const std::string dmg = "Corrupt Zipfile:\n\n" + romPath + "dmg.zip\n", odd = "Corrupt Zipfile:\n\n" + romPath + "odd.zip\n";
  EXPECT_TRUE(Scan().ranToEnd);
  EXPECT_TRUE(RomScanOf("dmg", "r.rom").checksumCorrect && RomScanOf("odd", "r.rom").checksumCorrect);
  EXPECT_EQ(std::make_pair(MessagesStartingWith(dmg), MessagesStartingWith(odd)), (std::pair<size_t, size_t>{1, 0}));

  zipLibrary.headerCheck = ZipHeaderCheck::kBothHeaders;
  EXPECT_TRUE(Scan().ranToEnd);
  EXPECT_FALSE(RomScanOf("odd", "r.rom").checksumCorrect);
  EXPECT_EQ(std::make_pair(MessagesStartingWith(dmg), MessagesStartingWith(odd)), (std::pair<size_t, size_t>{2, 1}));
}

}  // namespace
}  // namespace kestrel::testing
