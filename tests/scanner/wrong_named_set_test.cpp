#include "scanner/wrong_named_set_check.h"

#include "gamedb/crc_index.h"
#include "scanner/scan_context.h"
#include "scanner/scan_fixture.h"
#include "scanner/scan_state.h"
#include "support/game_records.h"

namespace kestrel {
namespace {

using testing::WriteFile;

RomEntry RomOf(const std::string& name, const std::string& contents) {
  return testing::Rom(name, static_cast<int32_t>(contents.size()), testing::CrcOf(contents));
}

class WrongNamedSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Index("gamex");
    WriteFile(temp / "src/a.bin", "first rom");
    WriteFile(temp / "src/b.bin", "second rom");
    ZipLibrary library;
    ASSERT_TRUE(CreateFolder(temp / "roms"));
    ASSERT_TRUE(
        ZipAddFiles(RealFileSystem(), library, temp / "roms/gamx.zip", {temp / "src/a.bin", temp / "src/b.bin"}));
    WriteFile(temp / "roms/gamy/a.bin", "first rom");
    WriteFile(temp / "roms/gamy/b.bin", "second rom");
    WriteFile(temp / "roms/junk/readme.txt", "nothing known");
  }

  // The set `name` holds both ROMs, "other" only the first.
  void Index(const std::string& name) {
    GameList database(3);
    database[0].name = name;
    database[0].roms = {RomOf("a.bin", "first rom"), RomOf("b.bin", "second rom")};
    database[1].name = "other";
    database[1].roms = {RomOf("o.bin", "first rom")};
    // The junk file's CRC with another size: no match.
    database[2].name = "sized";
    database[2].roms = {testing::Rom("n.bin", 99, testing::CrcOf("nothing known"))};
    std::vector<ZeroCrcIndexEntry> zeroIndex;
    BuildCrcIndex(database, crcIndex, zeroIndex);
  }

  bool Check(const std::string& path) {
    ScanContext context{games, settings, state, &ui, nullptr, {}, {}, {}, {}};
    return CheckWrongNamedSet(context, path, crcIndex, results, stats);
  }

  testing::TempFolder temp;
  GameList games;  // the check reads only the CRC index
  std::vector<CrcIndexEntry> crcIndex;
  SettingsRecord settings;
  ScanState state;
  bool& fixName = state.fixName;
  bool& answeredForAll = state.renameAnsweredForAll;
  bool& stopRequested = state.stopRequested;
  ScriptedInterface ui;
  ResultsModel results;
  ScanStatistics stats;
};

TEST_F(WrongNamedSetTest, ReportsTheSetWithMostMatchingFilesAndRenamesAfterTheAnswers) {
  const std::string zip = temp / "roms/gamx.zip";
  ASSERT_TRUE(Check(zip));
  ASSERT_EQ(results.lines.size(), 1u);
  EXPECT_EQ(results.lines[0].text, "wrong name: " + zip + " [wrong: gamx] [right: gamex]");
  EXPECT_TRUE(results.lines[0].kind == kResultGameName && stats.wrongNamedGames == 1 && FileExists(zip));
  EXPECT_FALSE(Check(temp / "roms/junk"));

  settings.fixName = fixName = true;
  ui.askAnswers = {kAnswerYes, kAnswerStop, kAnswerYesToAll};
  ASSERT_TRUE(Check(zip));
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].text, "Do you want to rename:\n'gamx'\nin\n'gamex'?");
  EXPECT_TRUE(FileExists(temp / "roms/gamex.zip") && !PathExists(zip));
  EXPECT_EQ(results.lines.back().text, "wrong name: " + zip + " [wrong: gamx] [right: gamex] [fixed]");

  // Stop: dealt with, but no line and nothing renamed.
  ASSERT_TRUE(Check(temp / "roms/gamy"));
  EXPECT_TRUE(stopRequested);
  EXPECT_EQ(results.lines.size(), 2u);
  EXPECT_TRUE(FolderExists(temp / "roms/gamy"));

  stopRequested = false;
  ASSERT_TRUE(Check(temp / "roms/gamy"));
  EXPECT_TRUE(answeredForAll);
  EXPECT_TRUE(FileExists(temp / "roms/gamex/b.bin") && !PathExists(temp / "roms/gamy"));
  EXPECT_EQ(stats.wrongNamedGamesFixed, 2);

  // A set of the right name already there is never replaced.
  WriteFile(temp / "roms/gamz/a.bin", "first rom");
  ASSERT_TRUE(Check(temp / "roms/gamz"));
  EXPECT_EQ(ui.questions.size(), 3u);  // answered for all: no more questions
  EXPECT_EQ(results.lines.back().text,
            "wrong name: " + temp / "roms/gamz [wrong: gamz] [right: gamex] [not fixed]");
  EXPECT_TRUE(FileExists(temp / "roms/gamz/a.bin"));
}

TEST_F(WrongNamedSetTest, NeverMovesASetOutOfItsFolder) {
  Index("../gamex");  // a damaged game list may give a name a folder part
  settings.fixName = fixName = true;
  settings.askBeforeFixing = false;
  ASSERT_TRUE(Check(temp / "roms/gamx.zip") && Check(temp / "roms/gamy"));
  EXPECT_TRUE(FileExists(temp / "roms/gamx.zip") && FileExists(temp / "roms/gamy/a.bin"));
  EXPECT_FALSE(PathExists(temp / "gamex.zip") || PathExists(temp / "gamex"));
  EXPECT_EQ(results.lines.back().text,
            "wrong name: " + temp / "roms/gamy [wrong: gamy] [right: ../gamex] [not fixed]");
  EXPECT_EQ(stats.wrongNamedGamesFixed, 0);
}

}  // namespace
}  // namespace kestrel
