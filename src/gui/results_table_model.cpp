#include "gui/results_table_model.h"

#include <algorithm>
#include <utility>
#include <cctype>

#include "report/csv_text.h"
#include "gui/qt_text.h"
#include "gui/result_columns.h"
#include "gui/result_icons.h"

namespace kestrel {
namespace {

// How often a computation looks whether it was stopped.
constexpr size_t kRowsBetweenCancelChecks = 4096;

constexpr const char* kColumnNames[kColumnCount] = {"Game",     "Set",   "Parent", "Finding", "ROM",
                                                    "Expected", "Found", "Path",   "Line"};

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Whether `text` holds `needle` (already lower case), without case.
bool ContainsWithoutCase(std::string_view text, std::string_view needle) {
  return std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                     [](char a, char b) { return Lower(a) == b; }) != text.end();
}

QString FromView(std::string_view text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ResultsTableModel::ResultsTableModel(const ResultsModel& results, QObject* parent)
    : QAbstractTableModel(parent), results_(results) {
  Reset();
}

const ResultTreeItem& ResultsTableModel::LineOf(const Row& row) const {
  const ResultTreeItem& top = results_.items[static_cast<size_t>(row.top)];
  return row.child < 0 ? top : top.children[static_cast<size_t>(row.child)];
}

std::string_view ResultsTableModel::CellOf(const Row& row, int column) const {
  const ResultTreeItem& line = LineOf(row);
  switch (column) {
    case kColumnGame:
    case kColumnSet:
    case kColumnParent: {
      if (row.child < 0) return {};
      const HeaderColumns header = SplitHeader(results_.items[static_cast<size_t>(row.top)].text);
      return column == kColumnGame ? header.game : column == kColumnSet ? header.set : header.parent;
    }
    case kColumnLine: return line.text;
    default: break;
  }
  const FindingColumns finding = SplitFinding(line.text, line.kind);
  switch (column) {
    case kColumnFinding: return finding.finding;
    case kColumnRom: return finding.rom;
    case kColumnExpected: return finding.expected;
    case kColumnFound: return finding.found;
    case kColumnPath: return finding.path;
    default: return {};
  }
}

std::array<std::string_view, kColumnCount> ResultsTableModel::Cells(int row) const {
  return CellsOf(all_[static_cast<size_t>(shown_[static_cast<size_t>(row)])]);
}

std::array<std::string_view, kColumnCount> ResultsTableModel::CellsOf(const Row& shown) const {
  const ResultTreeItem& line = LineOf(shown);
  std::array<std::string_view, kColumnCount> cells{};
  if (shown.child >= 0) {
    const HeaderColumns header = SplitHeader(results_.items[static_cast<size_t>(shown.top)].text);
    cells[kColumnGame] = header.game;
    cells[kColumnSet] = header.set;
    cells[kColumnParent] = header.parent;
  }
  const FindingColumns finding = SplitFinding(line.text, line.kind);
  cells[kColumnFinding] = finding.finding;
  cells[kColumnRom] = finding.rom;
  cells[kColumnExpected] = finding.expected;
  cells[kColumnFound] = finding.found;
  cells[kColumnPath] = finding.path;
  cells[kColumnLine] = line.text;
  return cells;
}

std::string_view ResultsTableModel::Cell(int row, int column) const {
  return CellOf(all_[static_cast<size_t>(shown_[static_cast<size_t>(row)])], column);
}

bool ResultsTableModel::Passes(const Row& row, const View& view) const {
  const ResultTreeItem& line = LineOf(row);
  if (view.kind != kAllKinds && line.kind != view.kind) return false;
  if (view.search.empty()) return true;
  if (ContainsWithoutCase(line.text, view.search)) return true;
  return row.child >= 0 && ContainsWithoutCase(results_.items[static_cast<size_t>(row.top)].text, view.search);
}

void ResultsTableModel::AppendLines(int top, int firstChild, std::vector<Row>& rows) const {
  const ResultTreeItem& item = results_.items[static_cast<size_t>(top)];
  if (!item.hasChildren) {
    if (firstChild == 0) rows.push_back({top, -1});
    return;
  }
  for (int child = firstChild; child < static_cast<int>(item.children.size()); ++child)
    rows.push_back({top, child});
}

// Lines are only ever appended: findings to the last header, new headers
// and stand-alone lines after it.
void ResultsTableModel::Sync() {
  Settle();
  const int tops = static_cast<int>(results_.items.size());
  if (tops < nextTop_) {  // cleared or rebuilt behind our back
    Reset();
    return;
  }
  std::vector<Row> fresh;
  if (nextTop_ > 0) AppendLines(nextTop_ - 1, lastChildren_, fresh);
  for (int top = nextTop_; top < tops; ++top) AppendLines(top, 0, fresh);
  nextTop_ = tops;
  // A stand-alone line counts as its own first row, read once.
  if (tops > 0) {
    const ResultTreeItem& last = results_.items.back();
    lastChildren_ = last.hasChildren ? static_cast<int>(last.children.size()) : 1;
  }
  if (fresh.empty()) return;

  std::vector<int> passing;
  for (size_t i = 0; i < fresh.size(); ++i) {
    if (Passes(fresh[i], view_)) passing.push_back(static_cast<int>(all_.size() + i));
  }
  all_.insert(all_.end(), fresh.begin(), fresh.end());
  if (passing.empty()) return;
  const int first = static_cast<int>(shown_.size());
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(passing.size()) - 1);
  shown_.insert(shown_.end(), passing.begin(), passing.end());
  endInsertRows();
}

void ResultsTableModel::Reset() {
  Settle();
  ++generation_;
  beginResetModel();
  all_.clear();
  shown_.clear();
  nextTop_ = 0;
  lastChildren_ = 0;
  endResetModel();
  Sync();
}

ResultsTableModel::~ResultsTableModel() {
  cancelled_ = true;
  if (computer_.joinable()) computer_.join();
}

void ResultsTableModel::SetKindFilter(int kind) {
  if (kind == view_.kind) return;
  view_.kind = kind;
  StartComputing();
}

void ResultsTableModel::SetSearch(const QString& search) {
  std::string lower = FromQString(search);
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  if (lower == view_.search) return;
  view_.search = std::move(lower);
  StartComputing();
}

void ResultsTableModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= kColumnCount) return;
  view_.sortColumn = column;
  view_.sortOrder = order;
  StartComputing();
}

// Filtering and sorting half a million rows takes longer than a redraw
// may: the rows to show are worked out on a thread of their own, which
// reads the rows and the results model while the table shows the rows it
// had. A newer filter, search or order drops the computation under way;
// anything that would change what it reads settles it first.
void ResultsTableModel::StartComputing() {
  if (computer_.joinable()) {
    cancelled_ = true;
    computer_.join();
  }
  cancelled_ = false;
  const int ticket = ++ticket_;
  computer_ = std::thread([this, view = view_, ticket] {
    computedRows_ = ShownFor(view);
    if (cancelled_) return;
    QMetaObject::invokeMethod(this, [this, ticket] { if (ticket == ticket_) Settle(); }, Qt::QueuedConnection);
  });
}

void ResultsTableModel::Settle() {
  if (!computer_.joinable()) return;
  computer_.join();
  ++ticket_;  // the result on its way is taken here
  beginResetModel();
  shown_ = std::move(computedRows_);
  endResetModel();
  emit Computed();
}

std::vector<int> ResultsTableModel::ShownFor(const View& view) const {
  std::vector<int> shown;
  for (size_t i = 0; i < all_.size(); ++i) {
    if (i % kRowsBetweenCancelChecks == 0 && cancelled_) return {};
    if (Passes(all_[i], view)) shown.push_back(static_cast<int>(i));
  }
  if (view.sortColumn >= 0) Order(shown, view);
  return shown;
}

// A stable sort keeps the scan's order among equal cells, so sorting by
// set after sorting by finding groups each set's findings by kind.
void ResultsTableModel::Order(std::vector<int>& shown, const View& view) const {
  // Each row's cell is read once: reading it at every comparison would
  // take a 400,000-row table apart twenty times over.
  std::vector<std::pair<std::string_view, int>> keyed;
  keyed.reserve(shown.size());
  for (int index : shown) keyed.emplace_back(CellOf(all_[static_cast<size_t>(index)], view.sortColumn), index);
  const auto byCell = [](const auto& a, const auto& b) { return a.first < b.first; };
  if (view.sortOrder == Qt::AscendingOrder) {
    std::stable_sort(keyed.begin(), keyed.end(), byCell);
  } else {
    std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) { return byCell(b, a); });
  }
  for (size_t i = 0; i < keyed.size(); ++i) shown[i] = keyed[i].second;
}

std::string ResultsTableModel::CsvHeading() {
  return CsvLine(std::vector<std::string_view>(kColumnNames, kColumnNames + kColumnCount));
}

void ResultsTableModel::AppendCsv(std::span<const Row> rows, std::string& text) const {
  std::vector<std::string_view> fields;
  for (const Row& row : rows) {
    const auto cells = CellsOf(row);
    fields.assign(cells.begin(), cells.end());
    text += CsvLine(fields);
  }
}

std::vector<ResultsTableModel::Row> ResultsTableModel::ShownRows() const {
  std::vector<Row> rows;
  rows.reserve(shown_.size());
  for (int index : shown_) rows.push_back(all_[static_cast<size_t>(index)]);
  return rows;
}

std::string ResultsTableModel::CsvText(const std::vector<int>& rows) const {
  std::vector<Row> chosen;
  if (rows.empty()) chosen = ShownRows();
  for (int row : rows) chosen.push_back(all_[static_cast<size_t>(shown_[static_cast<size_t>(row)])]);
  std::string text = CsvHeading();
  AppendCsv(chosen, text);
  return text;
}

QString ResultsTableModel::TabText(const std::vector<int>& rows) const {
  QString text;
  for (int row : rows) {
    const auto cells = Cells(row);
    for (int column = 0; column < kColumnCount; ++column) {
      if (column > 0) text += '\t';
      text += FromView(cells[static_cast<size_t>(column)]);
    }
    text += '\n';
  }
  return text;
}

int ResultsTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int ResultsTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant ResultsTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role == Qt::DisplayRole) return FromView(Cell(index.row(), index.column()));
  if (role == Qt::DecorationRole && index.column() == kColumnFinding) {
    return ResultIcon(LineOf(all_[static_cast<size_t>(shown_[static_cast<size_t>(index.row())])]).kind);
  }
  if (role == Qt::ToolTipRole) return FromView(Cell(index.row(), kColumnLine));
  return {};
}

QVariant ResultsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumnCount)
    return QString(kColumnNames[section]);
  return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace kestrel
