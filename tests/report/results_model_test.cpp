#include "report/results_model.h"

#include <gtest/gtest.h>

#include "settings/settings_record.h"

namespace kestrel {
namespace {

// "A" has only ROM findings, "B" a missing game and a missing ROM, then a
// stand-alone unneeded entry.
ResultsModel SampleResults() {
  ResultsModel results;
  AddResultLine(results, "A [folder: a]", kTopLevel, kResultGameHeader, true, false);
  AddResultLine(results, "missing rom: a1", kChildLevel, kResultMissingRom, true, false);
  AddResultLine(results, "wrong length: a2", kChildLevel, kResultWrongLength, true, false);
  AddResultLine(results, "B [folder: b]", kTopLevel, kResultMissingSetHeader, true, false);
  AddResultLine(results, "missing game: B", kChildLevel, kResultMissingGame, true, false);
  AddResultLine(results, "missing rom: b1", kChildLevel, kResultMissingRom, true, false);
  AddResultLine(results, "unneeded file: /r/x.txt", kTopLevel, kResultUnneeded, true, true);
  return results;
}

std::string Outline(const ResultsModel& results) {
  std::string text;
  for (const ResultTreeItem& item : results.items) {
    text += item.text + (item.hasChildren ? "+" : "") + "\n";
    for (const ResultTreeItem& child : item.children) text += "  " + child.text + "\n";
  }
  return text;
}

TEST(ResultsModelTest, AddingBuildsTheTreeAndKeepsLines) {
  ResultsModel results = SampleResults();
  AddResultLine(results, "not kept", kChildLevel, kResultMissingRom, false, false);
  EXPECT_EQ(results.lines.size(), 7u);
  EXPECT_EQ(results.firstVisibleItem, 2);
  EXPECT_EQ(Outline(results),
            "A [folder: a]+\n  missing rom: a1\n  wrong length: a2\n"
            "B [folder: b]+\n  missing game: B\n  missing rom: b1\n"
            "unneeded file: /r/x.txt\n  not kept\n");
  ClearResults(results);
  EXPECT_TRUE(results.lines.empty());
  EXPECT_TRUE(results.items.empty());
}

TEST(ResultsModelTest, SwitchesHideAndRestoreLines) {
  ResultsModel results = SampleResults();
  const std::string full = Outline(results);
  SettingsRecord settings;

  settings.scanRoms = false;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), "B [folder: b]+\n  missing game: B\nunneeded file: /r/x.txt\n");
  EXPECT_EQ(results.lines.size(), 7u);

  settings.scanRoms = true;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), full);

  settings.checkLength = false;
  settings.checkUnneeded = false;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results),
            "A [folder: a]+\n  missing rom: a1\nB [folder: b]+\n  missing game: B\n"
            "  missing rom: b1\n");

  // Unneeded lines need at least one kind of scan.
  settings.checkUnneeded = true;
  settings.scanGames = settings.scanRoms = settings.scanSamples = false;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), "");
  settings.scanSamples = true;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), "unneeded file: /r/x.txt\n");
}

}  // namespace
}  // namespace kestrel
