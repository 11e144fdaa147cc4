#include "report/results_model.h"

#include <gtest/gtest.h>

#include "settings/settings_record.h"

namespace kestrel {
namespace {

std::string Outline(const ResultsModel& results) {
  std::string text;
  for (const ResultTreeItem& item : results.items) {
    text += item.text + (item.hasChildren ? "+" : "") + "\n";
    for (const ResultTreeItem& child : item.children) text += "  " + child.text + "\n";
  }
  return text;
}

TEST(ResultsModelTest, SwitchesHideAndRestoreLines) {
  // "A" has only ROM findings, "B" a missing game and a missing ROM.
  ResultsModel results;
  AddResultLine(results, "A", kTopLevel, kResultGameHeader, true, false);
  AddResultLine(results, "missing rom: a1", kChildLevel, kResultMissingRom, true, false);
  AddResultLine(results, "wrong length: a2", kChildLevel, kResultWrongLength, true, false);
  AddResultLine(results, "B", kTopLevel, kResultMissingSetHeader, true, false);
  AddResultLine(results, "missing game: B", kChildLevel, kResultMissingGame, true, false);
  AddResultLine(results, "missing rom: b1", kChildLevel, kResultMissingRom, true, false);
  AddResultLine(results, "unneeded file: x", kTopLevel, kResultUnneeded, true, true);
  const std::string full = Outline(results);
  EXPECT_EQ(full,
            "A+\n  missing rom: a1\n  wrong length: a2\nB+\n  missing game: B\n"
            "  missing rom: b1\nunneeded file: x\n");

  SettingsRecord settings;
  settings.scanRoms = false;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), "B+\n  missing game: B\nunneeded file: x\n");
  settings.scanRoms = true;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), full);
  EXPECT_EQ(results.lines.size(), 7u);

  settings.checkLength = settings.checkUnneeded = false;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), "A+\n  missing rom: a1\nB+\n  missing game: B\n  missing rom: b1\n");

  // Unneeded lines need at least one kind of scan.
  settings.checkUnneeded = true;
  settings.scanGames = settings.scanRoms = settings.scanSamples = false;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), "");
  settings.scanSamples = true;
  RefreshResultsTree(results, settings);
  EXPECT_EQ(Outline(results), "unneeded file: x\n");
}

}  // namespace
}  // namespace kestrel
