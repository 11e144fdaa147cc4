#include "report/game_results.h"

#include <gtest/gtest.h>

#include "settings/settings_record.h"

namespace kestrel {
namespace {

RomEntry Rom(const std::string& name, int32_t size, uint32_t crc) {
  RomEntry rom;
  rom.name = name;
  rom.size = size;
  SetRomCrc(rom, crc);
  return rom;
}

// A ROM that passed every check.
RomEntry GoodRom(const std::string& name, int32_t size, uint32_t crc) {
  RomEntry rom = Rom(name, size, crc);
  rom.romScan.found = rom.romScan.lengthCorrect = rom.romScan.caseCorrect = 1;
  rom.romScan.checksumCorrect = 1;
  return rom;
}

GameSet FoundGame(const std::string& name, const std::string& description) {
  GameSet game;
  game.name = name;
  game.description = description;
  game.scanStatus[kSetFound] = game.scanStatus[kSetCaseCorrect] = 1;
  return game;
}

std::vector<std::string> Texts(const ResultsModel& results) {
  std::vector<std::string> texts;
  for (const ResultLine& line : results.lines) texts.push_back(line.text);
  return texts;
}

SettingsRecord AllChecks() {
  SettingsRecord settings;
  settings.checkCase = true;
  return settings;
}

TEST(GameResultsTest, EveryKindOfFindingReadsAsItsLine) {
  GameSet game = FoundGame("sgame", "Some Game");
  game.hasParent = true;
  game.cloneOf = "sgamep";
  game.scanStatus[kSetCaseCorrect] = 0;
  game.scanText2 = "SGame";
  WrongNameEntry renamed;
  renamed.foundName = "x.bin";
  renamed.rightName = "a.bin";
  renamed.fullPath = "/roms/sgame/x.bin";
  renamed.fixed = true;
  game.scanRecordsB.push_back(renamed);
  RomEntry missing = Rom("b.bin", 4096, 0x0000abcd);
  RomEntry longRom = GoodRom("c.bin", 1024, 0x11111111);
  longRom.romScan.lengthCorrect = 0;
  longRom.romScan.foundSize = 2048;
  longRom.romScan.lengthFixed = 1;
  RomEntry cased = GoodRom("d.bin", 16, 0x22222222);
  cased.romScan.caseCorrect = 0;
  cased.romScan.foundName = "D.BIN";
  RomEntry badCrc = GoodRom("e.bin", 16, 0x33333333);
  badCrc.romScan.checksumCorrect = 0;
  badCrc.romScan.foundCrc = 0x0badf00d;
  game.roms = {missing, longRom, cased, badCrc, GoodRom("f.bin", 8, 1)};
  game.samples.resize(2);
  game.samples[0].name = "boom.wav";
  game.samples[1].name = "bang.wav";
  game.samples[1].found = 1;
  game.samples[1].foundName = "BANG.wav";
  FoundEntry unneeded;
  unneeded.name = "/roms/sgame/readme.txt";
  game.scanRecordsA.push_back(unneeded);

  SettingsRecord settings = AllChecks();
  settings.fixCase = true;
  settings.fixLength = true;
  ResultsModel results;
  ScanStatistics stats;
  ASSERT_TRUE(BuildGameResults(game, settings, results, stats));

  const std::vector<std::string> expected = {
      "Some Game [folder: sgame - parent: sgamep]",
      "wrong spelling: sgame [wrong: SGame] [right: sgame] [not fixed]",
      "wrong name: /roms/sgame/x.bin [wrong: x.bin] [right: a.bin]",
      "missing rom: b.bin [length: 4096] [chksum: abcd (ffff5432)]",
      "wrong length: c.bin [wrong: 2048] [right: 1024] [fixed]",
      "wrong spelling: d.bin [wrong: D.BIN] [right: d.bin] [not fixed]",
      "wrong checksum: e.bin [wrong: badf00d] [right: 33333333 (cccccccc)]",
      "missing sample: boom.wav",
      "wrong spelling: bang.wav[wrong: BANG.wav] [right: bang.wav] [not fixed]",
      "unneeded file: /roms/sgame/readme.txt",
  };
  EXPECT_EQ(Texts(results), expected);
  const std::vector<ResultKind> kinds = {
      kResultGameHeader, kResultGameCase,     kResultRomName,       kResultMissingRom,
      kResultWrongLength, kResultRomCase,     kResultWrongChecksum, kResultMissingSample,
      kResultSampleCase, kResultUnneeded};
  for (size_t i = 0; i < kinds.size(); ++i) {
    EXPECT_EQ(results.lines[i].kind, kinds[i]) << i;
    EXPECT_EQ(results.lines[i].level, i == 0 ? kTopLevel : kChildLevel) << i;
  }
  ASSERT_EQ(results.items.size(), 1u);
  EXPECT_EQ(results.items[0].children.size(), expected.size() - 1);

  EXPECT_EQ(stats.wrongSpelledGames, 1);
  EXPECT_EQ(stats.wrongSpelledGamesFixed, 0);
  EXPECT_EQ(stats.wrongNamedRoms, 1);
  EXPECT_EQ(stats.wrongNamedRomsFixed, 0);  // fix name was off: no mark, no fixed count
  EXPECT_EQ(stats.missingArcadeRoms, 1);
  EXPECT_EQ(stats.wrongSizedRoms, 1);
  EXPECT_EQ(stats.wrongSizedRomsFixed, 1);
  EXPECT_EQ(stats.wrongSpelledRoms, 1);
  EXPECT_EQ(stats.wrongChecksums, 1);
  EXPECT_EQ(stats.missingSamples, 1);
  EXPECT_EQ(stats.wrongSpelledSamples, 1);
  EXPECT_EQ(stats.unneeded, 1);

  // Without the fix options the lines carry no mark at all.
  settings.fixCase = settings.fixLength = false;
  ResultsModel plain;
  BuildGameResults(game, settings, plain, stats);
  EXPECT_EQ(plain.lines[1].text, "wrong spelling: sgame [wrong: SGame] [right: sgame]");
  EXPECT_EQ(plain.lines[4].text, "wrong length: c.bin [wrong: 2048] [right: 1024]");
}

TEST(GameResultsTest, MissingBadDumpIsReportedOnlyWhenAskedFor) {
  GameSet game = FoundGame("zgame", "Zero Game");
  game.roms = {Rom("nodump.bin", 1024, 0), GoodRom("ok.bin", 16, 5)};
  SettingsRecord settings = AllChecks();
  settings.showMissingZeroCrcs = false;
  ResultsModel results;
  ScanStatistics stats;
  EXPECT_FALSE(BuildGameResults(game, settings, results, stats));
  EXPECT_TRUE(results.lines.empty());
  EXPECT_TRUE(results.items.empty());

  settings.showMissingZeroCrcs = true;
  EXPECT_TRUE(BuildGameResults(game, settings, results, stats));
  const std::vector<std::string> expected = {
      "Zero Game [folder: zgame]", "missing rom: nodump.bin [length: 1024] [chksum: 0 (ffffffff)]"};
  EXPECT_EQ(Texts(results), expected);
}

TEST(GameResultsTest, AbsentSetGetsMissingHeaderAndEveryRom) {
  GameSet game;
  game.name = "neo1";
  game.description = "Neo One";
  game.hasNeoGeoBios = true;
  game.roms = {Rom("p1.rom", 10, 7), Rom("s1.rom", 20, 8)};
  ResultsModel results;
  ScanStatistics stats;
  ASSERT_TRUE(BuildGameResults(game, AllChecks(), results, stats));
  const std::vector<std::string> expected = {
      "Neo One [folder: neo1]", "missing game: Neo One",
      "missing rom: p1.rom [length: 10] [chksum: 7 (fffffff8)]",
      "missing rom: s1.rom [length: 20] [chksum: 8 (fffffff7)]"};
  EXPECT_EQ(Texts(results), expected);
  EXPECT_EQ(results.lines[0].kind, kResultMissingSetHeader);
  EXPECT_EQ(stats.missingNeoGeoGames, 1);
  EXPECT_EQ(stats.missingNeoGeoRoms, 2);
  EXPECT_EQ(stats.missingArcadeGames, 0);
}

TEST(GameResultsTest, TopLevelUnneededEntryStandsAlone) {
  FoundEntry entry;
  entry.name = "/roms/junk";
  entry.isFolder = true;
  entry.fixed = true;
  SettingsRecord settings;
  settings.fixUnneeded = true;
  ResultsModel results;
  ScanStatistics stats;
  AddUnneededEntryLine(entry, settings, results, stats);
  ASSERT_EQ(results.items.size(), 1u);
  EXPECT_EQ(results.items[0].text, "unneeded folder: /roms/junk [fixed]");
  EXPECT_FALSE(results.items[0].hasChildren);
  EXPECT_EQ(stats.unneeded, 1);
  EXPECT_EQ(stats.unneededFixed, 1);
}

}  // namespace
}  // namespace kestrel
