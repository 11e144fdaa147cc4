// The results model as a Qt item model, for the tree of the results window.
// Lines reach the view in batches: the model notes each insertion and
// exposes the new rows at most every 50 ms (or on Flush), so a scan of tens
// of thousands of sets does not repaint once per line.
#pragma once

#include <QAbstractItemModel>
#include <QTimer>

#include "report/results_model.h"

namespace kestrel {

class ResultsTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  // Installs itself as the view of `results`, which must outlive it.
  explicit ResultsTreeModel(ResultsModel& results, QObject* parent = nullptr);
  ~ResultsTreeModel() override;

  // Exposes every line added since the last batch.
  void Flush();
  // The index of the item the view should scroll to the top: the newest
  // game header; invalid when there is none.
  QModelIndex NewestHeader() const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 signals:
  // New rows were exposed, or the whole tree was rebuilt.
  void Grown();
  // The whole tree was rebuilt or cleared (emitted before Grown).
  void Rebuilt();

 private:
  void Rebuild();
  int ShownChildren(int top) const;

  ResultsModel& results_;
  QTimer batch_;
  int shownTops_ = 0;          // top-level items the view knows
  int shownLastChildren_ = 0;  // children of the last of them the view knows
};

}  // namespace kestrel
