// The scan as a whole: what it looks at, what it leaves alone, and when it
// ends early.
#include <filesystem>

#include "scanner/scan_fixture.h"

namespace kestrel::testing {
namespace {

using Names = std::vector<std::string>;

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
  for (const char* folder : {"tmp", "backup", "misc", "nested", "program", "neogeo"}) {
    std::filesystem::create_directories(romPath + folder);
  }
  std::filesystem::create_directories(samplePath + "YM3812");
  WriteFile(romPath + "stray.txt", "?");
  WriteFile(romPath + "GOOD.zip.bak", "?");
  std::filesystem::create_directories(romPath + "oldset");
  ScanRequest request;
  request.dataFolder = romPath + "program/";
  auto before = Snapshot();

  RunScan(database, settings, &ui, results, request);

  EXPECT_EQ(Snapshot(), before);
  Names lines;
  for (const ResultLine& line : results.lines) {
    if (line.kind == kResultUnneeded && line.level == kTopLevel) lines.push_back(line.text);
  }
  EXPECT_EQ(lines, (Names{"unneeded file: " + romPath + "GOOD.zip.bak",
                          "unneeded folder: " + romPath + "oldset",
                          "unneeded file: " + romPath + "stray.txt"}));
  EXPECT_EQ(Game("good").scanRecordsA.size(), 0u);
}

TEST_F(ScanDriverTest, FileNeededBySamplesIsNotUnneededInTheRomSetOfTheSameFolder) {
  settings.samplePaths = {{romPath}};
  AddGame("both", {{"r.rom", kR}});
  AddGame("alt", {});
  AddGame("base", {});
  Link();
  AddSamples("both", {"s.wav"});
  AddSamples("alt", {"a.wav", "shared.wav"});
  AddSamples("base", {"shared.wav"});
  Game("alt").hasSampleOf = true;
  Game("alt").sampleOf = "base";
  WriteFolderSet(romPath, "both", {{"r.rom", kR}, {"s.wav", "s"}, {"extra.bin", "e"}});
  WriteFolderSet(romPath, "alt", {{"a.wav", "a"}, {"shared.wav", "s"}});
  WriteFolderSet(romPath, "base", {{"shared.wav", "s"}});

  Scan();

  EXPECT_EQ(UnneededNames("both"), (Names{"extra.bin"}));
  EXPECT_TRUE(Game("both").samples[0].found);
  EXPECT_EQ(UnneededNames("alt"), Names{});

  // Advanced Unneeded: the copy that the named sample set also holds is
  // surplus; the alternative sample still counts as found.
  settings.advancedUnneeded = true;
  Scan();
  EXPECT_EQ(UnneededNames("alt"), (Names{"shared.wav"}));
  EXPECT_TRUE(Game("alt").samples[1].found);
}

TEST_F(ScanDriverTest, FastscanLooksOnlyAtGamesThatHadFindings) {
  MakeTwoGames();
  ScanOutcome full = Scan();
  ASSERT_TRUE(full.ranToEnd);
  EXPECT_EQ(std::filesystem::file_size(settings.fastscanFile), database.size() + 100);
  EXPECT_FALSE(Game("good").needsScan);

  // The options of the full scan come back with the file.
  settings.checkMissing = false;
  ui.progressTexts.clear();
  ScanOutcome fast = Scan(true);
  EXPECT_TRUE(fast.ranToEnd);
  EXPECT_TRUE(settings.checkMissing);
  EXPECT_EQ(ui.progressTexts, (Names{"", "\n\n bad game"}));
  EXPECT_TRUE(Game("bad").needsScan);

  // Once the missing ROM is there, the next fastscan clears the last flag.
  std::filesystem::remove(romPath + "bad.zip");
  WriteZipSet(romPath, "bad", {{"r.rom", kR}, {"q.rom", kQ}});
  Scan(true);
  EXPECT_FALSE(Game("bad").needsScan);
}

TEST_F(ScanDriverTest, EndsBeforeTouchingAnythingWhenRefused) {
  MakeTwoGames();
  Scan();
  std::vector<ResultLine> lines = results.lines;
  std::array<int, 4> status = Game("good").scanStatus;
  auto unchanged = [&] {
    EXPECT_EQ(results.lines.size(), lines.size());
    EXPECT_EQ(Game("good").scanStatus, status);
  };

  // A fastscan without its file.
  settings.fastscanFile = root / "none.fsc";
  ScanOutcome noFile = Scan(true);
  EXPECT_TRUE(noFile.refused);
  unchanged();

  // Removing unneeded files without backups, declined.
  settings.fastscanFile = root / "fastscan.fsc";
  settings.fixUnneeded = true;
  settings.makeBackups = false;
  ui.messageAnswers = {kResultNo};
  EXPECT_TRUE(Scan().refused);
  EXPECT_EQ(ui.messages.back().title, "Warning !");
  unchanged();

  // An empty sample path warns; Cancel ends the scan, OK lets it run.
  settings.fixUnneeded = false;
  settings.pathWarnings = true;
  ui.messageAnswers = {kResultCancel};
  EXPECT_TRUE(Scan().refused);
  EXPECT_EQ(ui.messages.back().text, "No samples found in samplepath:\n\n" + samplePath);
  unchanged();
  ui.messageAnswers = {kResultOk};
  EXPECT_TRUE(Scan().ranToEnd);
}

TEST_F(ScanDriverTest, SetNameWithAFolderPartNeverLeadsOutsideThePath) {
  settings.zeroCrcCreation = true;
  AddGame("../outside", {{"bad.rom", "", true, 16}});
  Link();
  std::filesystem::create_directories(root / "outside");
  EXPECT_TRUE(Scan().ranToEnd);
  EXPECT_TRUE(std::filesystem::is_empty(root / "outside"));
  EXPECT_FALSE(Rom("../outside", "bad.rom").romScan.found);
}

TEST_F(ScanDriverTest, DamagedZipIsExplainedAndThenLookedForAsAFolder) {
  AddGame("dmg", {{"r.rom", kR}});
  Link();
  WriteFile(romPath + "dmg.zip", "PK\x03\x04 not really a zip");
  WriteFolderSet(romPath, "dmg", {{"r.rom", kR}});
  SetApplicationInterface(&ui);  // the zip reader's messages have no owner
  bool ranToEnd = Scan().ranToEnd;
  SetApplicationInterface(nullptr);
  EXPECT_TRUE(ranToEnd);
  EXPECT_TRUE(Rom("dmg", "r.rom").romScan.checksumCorrect);
  ASSERT_GE(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].text.rfind("Corrupt Zipfile:", 0), 0u);
}

// A sample in another spelling is found, and reported as such only while
// the case is checked; in a zip set as in a folder set.
TEST_F(ScanDriverTest, SamplesInAnotherSpellingAreFoundAndReported) {
  AddGame("zipped", {});
  AddGame("loose", {});
  Link();
  AddSamples("zipped", {"bang.wav", "boom.wav"});
  AddSamples("loose", {"hit.wav"});
  WriteZipSet(samplePath, "zipped", {{"Bang.WAV", "b"}, {"boom.wav", "o"}});
  WriteFolderSet(samplePath, "loose", {{"HIT.wav", "h"}});
  settings.checkCase = true;
  settings.scanGames = false;  // games without ROMs have no set of their own

  Scan();

  EXPECT_EQ(Lines(), (Names{"loose game [folder: loose]", "wrong spelling: hit.wav[wrong: HIT.wav] [right: hit.wav]",
                            "zipped game [folder: zipped]",
                            "wrong spelling: bang.wav[wrong: Bang.WAV] [right: bang.wav]"}));
  EXPECT_EQ(Game("zipped").samples[0].foundName, "Bang.WAV");
  EXPECT_TRUE(Game("zipped").samples[1].found && Game("zipped").samples[1].caseCorrect);

  settings.checkCase = false;
  Scan();
  EXPECT_EQ(Lines(), Names{});
  EXPECT_TRUE(Game("loose").samples[0].found);
}

}  // namespace
}  // namespace kestrel::testing
