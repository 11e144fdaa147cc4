#include "gui/results_tree_model.h"

#include "gui/qt_text.h"
#include "gui/result_icons.h"

namespace kestrel {
namespace {

constexpr int kBatchMilliseconds = 50;

// Top-level items carry 0 as their internal id; a child carries its
// parent's row plus one.
quintptr ChildTag(int parentRow) { return static_cast<quintptr>(parentRow) + 1; }

}  // namespace

ResultsTreeModel::ResultsTreeModel(ResultsModel& results, QObject* parent)
    : QAbstractItemModel(parent), results_(results) {
  batch_.setSingleShot(true);
  batch_.setInterval(kBatchMilliseconds);
  connect(&batch_, &QTimer::timeout, this, &ResultsTreeModel::Flush);
  results_.onInserted = [this](int, int) {
    if (!batch_.isActive()) batch_.start();
  };
  results_.onRebuilt = [this] { Rebuild(); };
  Rebuild();
}

ResultsTreeModel::~ResultsTreeModel() {
  results_.onInserted = nullptr;
  results_.onRebuilt = nullptr;
}

void ResultsTreeModel::Rebuild() {
  batch_.stop();
  beginResetModel();
  shownTops_ = static_cast<int>(results_.items.size());
  shownLastChildren_ = shownTops_ > 0 ? static_cast<int>(results_.items.back().children.size()) : 0;
  endResetModel();
  emit Rebuilt();
  emit Grown();
}

// Lines are only ever appended: children to the last top-level item, new
// items after it. So the view needs the last item's new children and then
// the new items.
void ResultsTreeModel::Flush() {
  batch_.stop();
  const int tops = static_cast<int>(results_.items.size());
  if (tops < shownTops_) {  // cleared behind our back
    Rebuild();
    return;
  }
  bool grown = false;
  if (shownTops_ > 0) {
    const int last = shownTops_ - 1;
    const int children = static_cast<int>(results_.items[last].children.size());
    if (children > shownLastChildren_) {
      beginInsertRows(index(last, 0), shownLastChildren_, children - 1);
      shownLastChildren_ = children;
      endInsertRows();
      grown = true;
    }
  }
  if (tops > shownTops_) {
    beginInsertRows(QModelIndex(), shownTops_, tops - 1);
    shownTops_ = tops;
    shownLastChildren_ = static_cast<int>(results_.items.back().children.size());
    endInsertRows();
    grown = true;
  }
  if (grown) emit Grown();
}

QModelIndex ResultsTreeModel::NewestHeader() const {
  const int row = results_.firstVisibleItem;
  if (row < 0 || row >= shownTops_) return {};
  return index(row, 0);
}

int ResultsTreeModel::ShownChildren(int top) const {
  if (top == shownTops_ - 1) return shownLastChildren_;
  return static_cast<int>(results_.items[static_cast<size_t>(top)].children.size());
}

QModelIndex ResultsTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  if (!parent.isValid()) return row < shownTops_ ? createIndex(row, 0, quintptr{0}) : QModelIndex();
  if (parent.internalId() != 0) return {};  // children have no children
  if (row >= ShownChildren(parent.row())) return {};
  return createIndex(row, 0, ChildTag(parent.row()));
}

QModelIndex ResultsTreeModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == 0) return {};
  return createIndex(static_cast<int>(child.internalId() - 1), 0, quintptr{0});
}

int ResultsTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return shownTops_;
  if (parent.internalId() != 0) return 0;
  return ShownChildren(parent.row());
}

int ResultsTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool ResultsTreeModel::hasChildren(const QModelIndex& parent) const {
  if (!parent.isValid()) return shownTops_ > 0;
  if (parent.internalId() != 0) return false;
  return results_.items[static_cast<size_t>(parent.row())].hasChildren;
}

QVariant ResultsTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const ResultTreeItem* item = nullptr;
  if (index.internalId() == 0) {
    item = &results_.items[static_cast<size_t>(index.row())];
  } else {
    const auto& top = results_.items[static_cast<size_t>(index.internalId() - 1)];
    item = &top.children[static_cast<size_t>(index.row())];
  }
  if (role == Qt::DisplayRole) return ToQString(item->text);
  if (role == Qt::DecorationRole) return ResultIcon(item->kind);
  return {};
}

}  // namespace kestrel
