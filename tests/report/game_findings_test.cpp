// Which findings of one game become result lines under which switches: a
// finding whose check, scope or 0-CRC option is off must neither make the
// game reported nor give it a line.

#include <functional>

#include <gtest/gtest.h>

#include "gamedb/game_set.h"
#include "report/game_results.h"
#include "report/results_model.h"
#include "report/scan_results.h"
#include "report/scan_statistics.h"
#include "report/statistics_text.h"
#include "settings/settings_record.h"
#include "support/game_records.h"

namespace kestrel {
namespace {

// A clone with a good ROM, a ROM never dumped and a sample.
GameSet CloneGame() {
  GameSet game;
  game.name = "g";
  game.description = "G game";
  game.cloneOf = "p";
  game.hasParent = true;
  game.roms = {testing::Rom("a.rom", 16, 0x1234), testing::Rom("z.rom", 8, 0)};
  game.roms[1].noDump = true;
  game.samples = {{"s1"}};
  return game;
}

// Everything found and right; the dump-less ROM's checksum cannot be right.
SetScan CleanScan() {
  SetScan scan;
  RomScan good;
  scan.found = scan.caseCorrect = good.found = good.lengthCorrect = good.caseCorrect = good.checksumCorrect = true;
  scan.roms = {good, good};
  scan.roms[1].checksumCorrect = false;
  scan.samples.resize(1);
  scan.samples[0].found = scan.samples[0].caseCorrect = true;
  return scan;
}

struct Case {
  const char* what;
  std::function<void(SetScan&, SettingsRecord&)> change;
  std::string lines;  // "!" a missing set's header, "#" another header, "-" a finding
};

std::string Render(const ResultsModel& results) {
  std::string text;
  for (const ResultLine& line : results.lines) {
    text += line.level == kChildLevel ? "- " : line.kind == kResultMissingSetHeader ? "! " : "# ";
    text += line.text + "\n";
  }
  return text;
}

const std::string kHeader = "G game [folder: g - parent: p]\n";

TEST(GameFindingsTest, ReportsOnlyTheFindingsTheSwitchesAskFor) {
  const std::string missingZ = "- missing rom: z.rom [length: 8] [chksum: 0 (ffffffff)]\n";
  const Case cases[] = {
      {"clean, bad dump's checksum ignored", [](auto&, auto&) {}, ""},
      {"missing set unchecked", [](auto& s, auto& o) { s.found = o.checkMissing = false; }, ""},
      {"missing set and ROMs",
       [](auto& s, auto& o) { s.found = s.roms[0].found = s.roms[1].found = o.showMissingZeroCrcs = false; },
       "! " + kHeader + "- missing game: G game\n- missing rom: a.rom [length: 16] [chksum: 1234 (ffffedcb)]\n" +
           missingZ},
      {"dump-less ROM missing, hidden", [](auto& s, auto& o) { s.roms[1].found = o.showMissingZeroCrcs = false; }, ""},
      {"dump-less ROM missing, shown", [](auto& s, auto&) { s.roms[1].found = false; }, "# " + kHeader + missingZ},
      {"missing sample unchecked", [](auto& s, auto& o) { s.samples[0].found = o.checkMissing = false; }, ""},
      {"missing sample not scanned", [](auto& s, auto& o) { s.samples[0].found = o.scanSamples = false; }, ""},
      {"sample case unchecked", [](auto& s, auto&) { s.samples[0].caseCorrect = false; }, ""},
      {"sample case checked",
       [](auto& s, auto& o) {
         s.samples[0].caseCorrect = false;
         s.samples[0].foundName = "S1";
         o.checkCase = true;
       },
       "# " + kHeader + "- wrong spelling: s1[wrong: S1] [right: s1]\n"},
      {"games and samples not scanned",
       [](auto& s, auto& o) {
         s.found = s.samples[0].found = s.roms[0].lengthCorrect = o.scanGames = o.scanSamples = false;
         s.roms[0].foundSize = 20;
       },
       "# " + kHeader + "- wrong length: a.rom [wrong: 20] [right: 16]\n"},
      {"ROMs not scanned",
       [](auto& s, auto& o) { s.roms[0].found = s.roms[0].lengthCorrect = s.samples[0].found = o.scanRoms = false; },
       "# " + kHeader + "- missing sample: s1\n"},
      // Any finding before it marks the header as a missing set's.
      {"missing set and sample unchecked, unneeded file",
       [](auto& s, auto& o) {
         s.found = s.samples[0].found = o.checkMissing = false;
         s.unneeded.emplace_back().name = "x.bin";
       },
       "! " + kHeader + "- unneeded file: x.bin\n"},
  };
  for (const Case& c : cases) {
    SetScan scan = CleanScan();
    SettingsRecord settings;
    c.change(scan, settings);
    ResultsModel results;
    ScanStatistics statistics;
    EXPECT_EQ(BuildGameResults(CloneGame(), scan, settings, results, statistics), !c.lines.empty()) << c.what;
    EXPECT_EQ(Render(results), c.lines) << c.what;
  }
}

TEST(GameFindingsTest, StatisticsSayNotAvailableForSamplesNotScanned) {
  ScanStatistics statistics;
  statistics.samples = 3;
  statistics.missingSamples = 1;
  SettingsRecord settings;
  EXPECT_NE(BuildStatisticsText(statistics, settings).find("Missing Samples:        1 of 3\r\n"), std::string::npos);
  settings.scanSamples = false;
  EXPECT_NE(BuildStatisticsText(statistics, settings).find("Missing Samples:        <n/a>\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kestrel
