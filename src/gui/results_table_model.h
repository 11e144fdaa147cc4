// The scan results as a table: one row per finding, with its game, set and
// parent from the game header above it, and the parts of the line in
// columns; the last column is the line itself, as the logfile has it.
// Rows are a pair of indices into the results model, and the columns are
// read from the line when drawn, so 400,000 findings cost a few megabytes
// and no widget at all. The table filters by kind of finding and by a
// search text, and sorts by any column; rows that arrive while sorted go
// to the end until the next sort.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <atomic>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "report/results_model.h"

namespace kestrel {

enum ResultColumn {
  kColumnGame, kColumnSet, kColumnParent, kColumnFinding, kColumnRom,
  kColumnExpected, kColumnFound, kColumnPath, kColumnLine, kColumnCount
};

// Every kind shows when the filter is this.
inline constexpr int kAllKinds = -1;

class ResultsTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // `results` must outlive the model.
  explicit ResultsTableModel(const ResultsModel& results, QObject* parent = nullptr);
  ~ResultsTableModel() override;

  // Takes in the lines added since the last call.
  void Sync();
  // Reads every line anew (the tree was rebuilt or cleared).
  void Reset();
  // Shows only lines of `kind` (a ResultKind, or kAllKinds).
  void SetKindFilter(int kind);
  // Shows only rows whose line or game header holds `search`, without case.
  void SetSearch(const QString& search);
  // A new filter, search or order is worked out on a thread of its own;
  // the table shows the rows it had until Computed. Settle waits for the
  // new rows and shows them; whoever changes the results model this table
  // reads settles it first, as Sync and Reset do.
  void Settle();
  bool computing() const { return computer_.joinable(); }

  // The text of a shown row's column, as drawn and exported.
  std::string_view Cell(int row, int column) const;
  // Every column of a shown row, the line taken apart once.
  std::array<std::string_view, kColumnCount> Cells(int row) const;
  // A finding: where its line is in the results model.
  struct Row {
    int top;    // index of the game header (or of the stand-alone line)
    int child;  // index of the finding under it; -1 for a stand-alone line
  };
  // The shown rows (or only `rows`, when given) as CSV with a heading line.
  std::string CsvText(const std::vector<int>& rows = {}) const;
  // The rows shown now, in view order, for an export in slices: they stay
  // valid while lines are added, until the generation changes.
  std::vector<Row> ShownRows() const;
  // Counts the times the rows were read anew (the tree was rebuilt or
  // cleared), which makes earlier Row values meaningless.
  int generation() const { return generation_; }
  // Adds the CSV lines of `rows` to `text`; CsvHeading() is their first.
  void AppendCsv(std::span<const Row> rows, std::string& text) const;
  static std::string CsvHeading();
  // The shown rows `rows` as tab-separated lines, for the clipboard.
  QString TabText(const std::vector<int>& rows) const;
  int totalRows() const { return static_cast<int>(all_.size()); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void sort(int column, Qt::SortOrder order) override;

 signals:
  // The rows of a new filter, search or order are shown.
  void Computed();

 private:
  // What the rows shown are chosen and ordered by.
  struct View {
    int kind = kAllKinds;
    std::string search;   // lower case; empty shows every row
    int sortColumn = -1;  // -1: the order of the scan
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
  };
  std::array<std::string_view, kColumnCount> CellsOf(const Row& row) const;
  const ResultTreeItem& LineOf(const Row& row) const;
  std::string_view CellOf(const Row& row, int column) const;
  bool Passes(const Row& row, const View& view) const;
  void AppendLines(int top, int firstChild, std::vector<Row>& rows) const;
  std::vector<int> ShownFor(const View& view) const;
  void Order(std::vector<int>& shown, const View& view) const;
  void StartComputing();

  const ResultsModel& results_;
  std::vector<Row> all_;    // every finding, in the order of the scan
  std::vector<int> shown_;  // indices into all_ that pass the filter, in view order
  int nextTop_ = 0;         // first header not yet read
  int lastChildren_ = 0;    // findings already read under header nextTop_ - 1
  View view_;
  int generation_ = 0;
  std::thread computer_;               // works out the rows of view_
  std::vector<int> computedRows_;      // its result; read once it has ended
  std::atomic<bool> cancelled_ = false;
  int ticket_ = 0;                     // the computation whose result is awaited
};

}  // namespace kestrel
