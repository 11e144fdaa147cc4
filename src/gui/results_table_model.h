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
#include <span>
#include <string>
#include <string_view>
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

  // Takes in the lines added since the last call.
  void Sync();
  // Reads every line anew (the tree was rebuilt or cleared).
  void Reset();
  // Shows only lines of `kind` (a ResultKind, or kAllKinds).
  void SetKindFilter(int kind);
  // Shows only rows whose line or game header holds `search`, without case.
  void SetSearch(const QString& search);

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

 private:
  std::array<std::string_view, kColumnCount> CellsOf(const Row& row) const;
  const ResultTreeItem& LineOf(const Row& row) const;
  std::string_view CellOf(const Row& row, int column) const;
  bool Passes(const Row& row) const;
  void AppendLines(int top, int firstChild, std::vector<Row>& rows) const;
  void ApplyFilter();
  void ApplyOrder();

  const ResultsModel& results_;
  std::vector<Row> all_;    // every finding, in the order of the scan
  std::vector<int> shown_;  // indices into all_ that pass the filter, in view order
  int nextTop_ = 0;         // first header not yet read
  int lastChildren_ = 0;    // findings already read under header nextTop_ - 1
  int kind_ = kAllKinds;
  std::string search_;      // lower case; empty shows every row
  int sortColumn_ = -1;     // -1: the order of the scan
  Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
  int generation_ = 0;
};

}  // namespace kestrel
