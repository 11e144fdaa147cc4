// MAME's verdicts, case by case as "mame -verifyroms" gave them on trial
// collections: one game of three ROMs (an own required one, one its parent
// holds too, and one of a kind each row chooses), found or not as each row
// says.
#include "report/set_verdict.h"

#include <gtest/gtest.h>

#include "report/game_results.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

// How a ROM of the game was found.
enum class Found { kNo, kGood, kShort, kBadCrc, kUnderOtherName };

RomScan ScanOf(Found found) {
  RomScan scan;
  scan.found = found != Found::kNo && found != Found::kUnderOtherName;
  scan.inListedSet = scan.found;
  scan.lengthCorrect = found != Found::kShort;
  scan.checksumCorrect = found == Found::kGood;
  return scan;
}

struct Row {
  const char* what;
  DumpStatus thirdStatus;
  bool thirdOptional;
  Found own, shared, third;
  Verdict expected;
  const char* notes;
};

const Row kRows[] = {
    {"all there", DumpStatus::kGood, false, Found::kGood, Found::kGood, Found::kGood, Verdict::kGood, ""},
    {"optional missing", DumpStatus::kGood, true, Found::kGood, Found::kGood, Found::kNo, Verdict::kBestAvailable,
     "c NOT FOUND BUT OPTIONAL;"},
    {"bad dump there", DumpStatus::kBadDump, false, Found::kGood, Found::kGood, Found::kGood, Verdict::kBestAvailable,
     "c NEEDS REDUMP;"},
    {"no dump missing", DumpStatus::kNoDump, false, Found::kGood, Found::kGood, Found::kNo, Verdict::kBestAvailable,
     "c NOT FOUND - NO GOOD DUMP KNOWN;"},
    {"no dump there", DumpStatus::kNoDump, false, Found::kGood, Found::kGood, Found::kShort, Verdict::kBestAvailable,
     "c NO GOOD DUMP KNOWN;"},
    {"required missing", DumpStatus::kGood, false, Found::kGood, Found::kGood, Found::kNo, Verdict::kBad,
     "c NOT FOUND;"},
    {"short and wrong", DumpStatus::kBadDump, true, Found::kShort, Found::kGood, Found::kBadCrc, Verdict::kBad,
     "a INCORRECT LENGTH;c INCORRECT CHECKSUM;"},
    {"under another name", DumpStatus::kGood, false, Found::kUnderOtherName, Found::kGood, Found::kGood,
     Verdict::kGood, ""},
    {"only the parent's", DumpStatus::kGood, false, Found::kNo, Found::kGood, Found::kNo, Verdict::kNotFound, ""},
    {"own file wrong", DumpStatus::kGood, true, Found::kBadCrc, Found::kNo, Found::kNo, Verdict::kBad,
     "a INCORRECT CHECKSUM;b NOT FOUND;c NOT FOUND BUT OPTIONAL;"},
    {"nothing", DumpStatus::kNoDump, false, Found::kNo, Found::kNo, Found::kNo, Verdict::kNotFound, ""},
};

GameSet Clone(DumpStatus thirdStatus, bool thirdOptional) {
  GameSet game;
  game.name = "clone";
  game.hasParent = true;
  game.cloneOf = "parent";
  game.roms.resize(3);
  for (int i = 0; i < 3; ++i) {
    game.roms[i].name = std::string(1, char('a' + i));
    game.roms[i].size = 16 << i;
    game.roms[i].inParent = i == 1;
  }
  game.roms[2].status = thirdStatus;
  game.roms[2].optional = thirdOptional;
  return game;
}

TEST(SetVerdictTest, RomSetsAreJudgedByMamesRules) {
  for (const Row& row : kRows) {
    GameSet game = Clone(row.thirdStatus, row.thirdOptional);
    SetScan scan;
    scan.roms = {ScanOf(row.own), ScanOf(row.shared), ScanOf(row.third)};
    if (row.own == Found::kUnderOtherName) scan.wrongNames.emplace_back().rightName = "a";
    SetVerdict verdict = JudgeRomSet(game, scan);
    std::string notes;
    for (const AuditNote& note : verdict.notes) notes += note.name + " " + note.reason + ";";
    EXPECT_EQ(verdict.verdict, row.expected) << row.what;
    EXPECT_EQ(notes, row.notes) << row.what;
  }
}

// A set whose every needed ROM is its parent's too is there when some of
// them are, right or wrong; one whose found ROMs are all a device's is not; a set with nothing to dump needs nothing but is best available
// when its ROMs are never dumped; no ROMs at all, no verdict.
TEST(SetVerdictTest, SharedAndEmptySets) {
  GameSet game = Clone(DumpStatus::kGood, false);
  for (RomEntry& rom : game.roms) rom.inParent = true;
  SetScan scan;
  scan.roms = {ScanOf(Found::kGood), ScanOf(Found::kGood), ScanOf(Found::kGood)};
  EXPECT_EQ(JudgeRomSet(game, scan).verdict, Verdict::kGood);
  // Shared ROMs, all wrong: none of the parent's is there, so no set.
  scan.roms = {ScanOf(Found::kBadCrc), ScanOf(Found::kBadCrc), ScanOf(Found::kBadCrc)};
  EXPECT_EQ(JudgeRomSet(game, scan).verdict, Verdict::kNotFound);
  scan.roms[1] = ScanOf(Found::kGood);
  EXPECT_EQ(JudgeRomSet(game, scan).verdict, Verdict::kBad);
  scan.roms = {ScanOf(Found::kNo), ScanOf(Found::kNo), ScanOf(Found::kNo)};
  EXPECT_EQ(JudgeRomSet(game, scan).verdict, Verdict::kNotFound);
  // A device's ROMs found, and none of the game's own: MAME finds no set.
  game.roms[0].inParent = false;
  game.roms[1].inParent = false;
  game.roms[1].deviceSet = 7;
  scan.roms = {ScanOf(Found::kNo), ScanOf(Found::kGood), ScanOf(Found::kNo)};
  EXPECT_EQ(JudgeRomSet(game, scan).verdict, Verdict::kNotFound);
  for (RomEntry& rom : game.roms) rom.status = DumpStatus::kNoDump;
  EXPECT_EQ(JudgeRomSet(game, scan).verdict, Verdict::kBestAvailable);
  game.roms.clear();
  scan.roms.clear();
  EXPECT_EQ(JudgeRomSet(game, scan).verdict, Verdict::kNoneNeeded);
  EXPECT_EQ(AuditLine("romset", game, Verdict::kNoneNeeded), "");
}

// Samples: all there good, some bad, none not found; the lines read as
// MAME prints them, the parent in brackets for a clone only.
TEST(SetVerdictTest, SampleSetsAndMamesLines) {
  GameSet game = Clone(DumpStatus::kGood, false);
  game.samples = {{"boom"}, {"zap"}};
  SetScan scan;
  scan.samples.resize(2);
  std::vector<std::string> lines;
  for (bool first : {true, false}) {
    for (bool second : {true, false}) {
      scan.samples[0].found = scan.samples[0].inListedSet = first;
      scan.samples[1].found = scan.samples[1].inListedSet = second;
      SetVerdict verdict = JudgeSampleSet(game, scan);
      lines.push_back(AuditNoteLines(game, verdict) + AuditLine("sampleset", game, verdict.verdict));
    }
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"sampleset clone [parent] is good",
                                             "clone       : zap - NOT FOUND\nsampleset clone [parent] is bad",
                                             "clone       : boom - NOT FOUND\nsampleset clone [parent] is bad",
                                             "sampleset clone [parent] not found"}));
  game.hasParent = false;
  SetVerdict bad{Verdict::kBad, {{"a", 16, "NOT FOUND"}}};
  EXPECT_EQ(AuditNoteLines(game, bad) + AuditLine("romset", game, Verdict::kBestAvailable),
            "clone       : a (16 bytes) - NOT FOUND\nromset clone is best available");
}

// The statistics count every unreadable set and ROM, and the verdicts on
// the sets of each part of the scan that is on.
TEST(SetVerdictTest, StatisticsCountVerdictsAndUnreadableFindings) {
  GameSet game = Clone(DumpStatus::kGood, false);
  game.samples = {{"boom"}};
  SetScan scan;
  scan.roms = {ScanOf(Found::kGood), ScanOf(Found::kGood), ScanOf(Found::kNo)};
  scan.roms[2].unreadable = true;
  scan.unreadableSets = {"/roms/clone.zip"};
  scan.samples.resize(1);
  SettingsRecord settings;
  ResultsModel results;
  ScanStatistics statistics;
  BuildGameResults(game, scan, settings, results, statistics);
  settings.scanSamples = false;
  BuildGameResults(game, scan, settings, results, statistics);
  EXPECT_EQ(statistics.unreadable, 4);
  EXPECT_EQ(statistics.romsets.bad, 2);
  EXPECT_EQ(statistics.samplesets.notFound, 1);
}

}  // namespace
}  // namespace kestrel
