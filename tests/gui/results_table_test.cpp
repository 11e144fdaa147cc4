// The findings table: a line taken apart into columns, and the table's
// filter, search, sort and CSV export over a results model.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <string>

#include "report/csv_text.h"
#include "gui/result_columns.h"
#include "gui/results_table_model.h"
#include "gui/results_window.h"
#include "gui/user_values.h"

namespace kestrel {
namespace {

struct SplitCase {
  const char* line;
  ResultKind kind;
  const char* finding;
  const char* rom;
  const char* expected;
  const char* found;
  const char* path;
};

TEST(ResultColumns, SplitsEachFormOfLine) {
  const SplitCase cases[] = {
      {"missing rom: a.1 [length: 1024] [chksum: 1a2b (e5d4)]", kResultMissingRom, "missing rom", "a.1",
       "[length: 1024] [chksum: 1a2b (e5d4)]", "", ""},
      {"wrong checksum: b.2 [wrong: 12] [right: 34 (cb)]", kResultWrongChecksum, "wrong checksum", "b.2",
       "34 (cb)", "12", ""},
      {"wrong name: /roms/pac/x.bin [wrong: x.bin] [right: a.1] [fixed]", kResultRomName, "wrong name", "",
       "a.1", "x.bin", "/roms/pac/x.bin"},
      {"wrong spelling: s.wav[wrong: S.WAV] [right: s.wav]", kResultSampleCase, "wrong spelling", "s.wav",
       "s.wav", "S.WAV", ""},
      {"missing game: Pac-Man: the game", kResultMissingGame, "missing game", "", "", "", ""},
      {"missing disk: hd [sha1: 00ff]", kResultMissingRom, "missing disk", "hd", "00ff", "", ""},
      {"unknown disk version: /d/hd.chd [version: 3]", kResultUnreadable, "unknown disk version", "", "", "3",
       "/d/hd.chd"},
      {"bad dump", kResultBadDump, "bad dump", "", "", "", ""},
  };
  for (const SplitCase& c : cases) {
    const FindingColumns columns = SplitFinding(c.line, c.kind);
    EXPECT_EQ(columns.finding, c.finding) << c.line;
    EXPECT_EQ(columns.rom, c.rom) << c.line;
    EXPECT_EQ(columns.expected, c.expected) << c.line;
    EXPECT_EQ(columns.found, c.found) << c.line;
    EXPECT_EQ(columns.path, c.path) << c.line;
  }
  const HeaderColumns clone = SplitHeader("Ms. [Pac] [folder: mspac - parent: pacman]");
  EXPECT_EQ(clone.game, "Ms. [Pac]");
  EXPECT_EQ(clone.set, "mspac");
  EXPECT_EQ(clone.parent, "pacman");
  const HeaderColumns parent = SplitHeader("Pac-Man [folder: pacman]");
  EXPECT_EQ(parent.set, "pacman");
  EXPECT_EQ(parent.parent, "");
  EXPECT_EQ(SplitHeader("odd header").game, "odd header");
}

TEST(CsvText, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(CsvLine({"a b", "x,y", "say \"hi\"", "", "l1\nl2"}),
            "a b,\"x,y\",\"say \"\"hi\"\"\",,\"l1\nl2\"\r\n");
}

class ResultsTableTest : public ::testing::Test {
 protected:
  void Header(const std::string& text) { AddResultLine(results, text, kTopLevel, kResultGameHeader, true, false); }
  void Finding(const std::string& text, ResultKind kind) {
    AddResultLine(results, text, kChildLevel, kind, true, false);
  }
  std::string Column(int column) {
    std::string text;
    for (int row = 0; row < table.rowCount(); ++row) text += std::string(table.Cell(row, column)) + ";";
    return text;
  }

  ResultsModel results;
  ResultsTableModel table{results};
};

TEST_F(ResultsTableTest, FollowsTheScanFiltersSearchesSortsAndExports) {
  Header("Zed [folder: zed]");
  Finding("missing rom: z.1 [length: 1] [chksum: 1 (fffffffe)]", kResultMissingRom);
  table.Sync();
  // A finding that arrives under the header already read joins it.
  Finding("wrong checksum: z.2 [wrong: 5] [right: 6 (f9)]", kResultWrongChecksum);
  Header("Alpha [folder: alpha - parent: zed]");
  Finding("missing rom: a.1 [length: 2] [chksum: 2 (fffffffd)]", kResultMissingRom);
  AddResultLine(results, "unneeded file: /roms/junk.txt", kTopLevel, kResultUnneeded, true, true);
  table.Sync();
  table.Sync();  // nothing new: nothing doubled
  EXPECT_EQ(Column(kColumnSet), "zed;zed;alpha;;");
  EXPECT_EQ(Column(kColumnRom), "z.1;z.2;a.1;;");
  EXPECT_EQ(Column(kColumnPath), ";;;/roms/junk.txt;");

  table.SetKindFilter(kResultMissingRom);
  table.Settle();
  EXPECT_EQ(Column(kColumnRom), "z.1;a.1;");
  table.SetKindFilter(kAllKinds);
  table.SetSearch("ALPHA");  // the game header counts, without case
  table.Settle();
  EXPECT_EQ(Column(kColumnRom), "a.1;");
  table.SetSearch("");

  table.sort(kColumnSet, Qt::AscendingOrder);
  table.Settle();
  EXPECT_EQ(Column(kColumnRom), ";a.1;z.1;z.2;");  // stable: z.1 stays before z.2
  table.sort(kColumnSet, Qt::DescendingOrder);
  table.Settle();
  EXPECT_EQ(Column(kColumnRom), "z.1;z.2;a.1;;");
  EXPECT_EQ(table.totalRows(), 4);

  table.SetSearch("z.2");
  table.Settle();
  EXPECT_EQ(table.CsvText(),
            "Game,Set,Parent,Finding,ROM,Expected,Found,Path,Line\r\n"
            "Zed,zed,,wrong checksum,z.2,6 (f9),5,,wrong checksum: z.2 [wrong: 5] [right: 6 (f9)]\r\n");
  EXPECT_EQ(table.TabText({0}).toStdString(),
            "Zed\tzed\t\twrong checksum\tz.2\t6 (f9)\t5\t\twrong checksum: z.2 [wrong: 5] [right: 6 (f9)]\n");

  ClearResults(results);
  table.Sync();
  EXPECT_EQ(table.totalRows(), 0);
}

// Enter in the search field searches; it must not close the window and
// drop the findings, as Enter in the tree of lines does.
TEST_F(ResultsTableTest, EnterInTheSearchKeepsTheFindings) {
  Header("Zed [folder: zed]");
  Finding("missing rom: z.1", kResultMissingRom);
  WindowLayout layout;
  ResultsWindow window(results, layout);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(window.searchEdit(), &enter);
  EXPECT_EQ(results.lines.size(), 2u);
}

}  // namespace
}  // namespace kestrel
