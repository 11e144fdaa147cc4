// The result tree the desktop shows redrawn after its switches change (the
// command line fixes them before the scan): a header stays only with a
// finding shown, and each kind answers to its own part and check.
#include "report/results_model.h"

#include <gtest/gtest.h>

#include "report/scanner_log.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

TEST(ResultsTreeTest, ShowsEachKindAsTheSwitchesSayAndHeadersOnlyWithAFinding) {
  ResultsModel results;
  AddResultLine(results, "A", kTopLevel, kResultGameHeader, true, false);
  AddResultLine(results, "missing rom: a1", kChildLevel, kResultMissingRom, true, false);
  AddResultLine(results, "romset: bad", kChildLevel, kResultRomSetVerdict, true, false);
  AddResultLine(results, "sampleset: good", kChildLevel, kResultSampleSetVerdict, true, false);
  AddResultLine(results, "B", kTopLevel, kResultGameHeader, true, false);
  AddResultLine(results, "wrong length: b1", kChildLevel, kResultWrongLength, true, false);
  AddResultLine(results, "C", kTopLevel, kResultGameHeader, true, false);
  AddResultLine(results, "missing sample: s1", kChildLevel, kResultMissingSample, true, false);
  AddResultLine(results, "sampleset: bad", kChildLevel, kResultSampleSetVerdict, true, false);
  AddResultLine(results, "unneeded file: x", kTopLevel, kResultUnneeded, true, true);
  std::vector<std::string> shown;
  auto show = [&](SettingsRecord settings) {
    RefreshResultsTree(results, settings);
    shown.push_back(RenderScannerLog(results, false, ""));
  };
  SettingsRecord s;
  show(s);
  s.checkLength = s.scanSamples = false;
  show(s);
  s.scanRoms = false;  // missing samples follow the samples switch alone; a verdict shows no game
  s.scanSamples = true;
  show(s);
  s.scanSamples = s.scanGames = false;  // with no part scanned nothing is unneeded either
  show(s);
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "A\nmissing rom: a1\nromset: bad\nsampleset: good\n\nB\nwrong length: b1\n\n"
                       "C\nmissing sample: s1\nsampleset: bad\n\nunneeded file: x\n",
                       "A\nmissing rom: a1\nromset: bad\n\nunneeded file: x\n",
                       "C\nmissing sample: s1\nsampleset: bad\n\nunneeded file: x\n",
                       "",
                   }));
  s.scanRoms = s.checkName = s.checkCase = true;
  EXPECT_TRUE(IsResultKindVisible(kResultRomName, s) && IsResultKindVisible(kResultRomCase, s));
  s.checkName = false;
  EXPECT_FALSE(IsResultKindVisible(kResultRomName, s) || IsResultKindVisible(kResultSampleCase, s));
}

}  // namespace
}  // namespace kestrel
