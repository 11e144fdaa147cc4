#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "gui/results_tree_model.h"

namespace kestrel {
namespace {

// A scan of a large list adds its lines in batches: the view learns of new
// rows once per batch, not once per line, and misses none of them.
TEST(ResultsTreeModel, ExposesLinesInBatches) {
  ResultsModel results;
  ResultsTreeModel model(results);
  int insertions = 0;
  QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++insertions; });

  for (int game = 0; game < 40000; ++game) {
    AddResultLine(results, "Game " + std::to_string(game), kTopLevel, kResultGameHeader, true, false);
    AddResultLine(results, "missing rom: r" + std::to_string(game), kChildLevel, kResultMissingRom,
                  true, false);
  }
  EXPECT_EQ(model.rowCount(), 0);  // nothing until the batch is due
  model.Flush();
  EXPECT_EQ(model.rowCount(), 40000);
  EXPECT_LE(insertions, 2);
  const QModelIndex last = model.index(39999, 0);
  EXPECT_EQ(model.rowCount(last), 1);
  EXPECT_EQ(model.index(0, 0, last).data().toString(), "missing rom: r39999");
  EXPECT_EQ(model.NewestHeader(), last);

  // More children of the last game and a new game arrive in one batch; the
  // view is told of both, or it would never draw the new child.
  std::vector<std::pair<int, int>> told;  // parent row (-1: root), first new row
  QObject::connect(&model, &QAbstractItemModel::rowsInserted,
                   [&](const QModelIndex& parent, int first, int) {
                     told.emplace_back(parent.isValid() ? parent.row() : -1, first);
                   });
  AddResultLine(results, "wrong length: x", kChildLevel, kResultWrongLength, true, false);
  AddResultLine(results, "unneeded file: y", kTopLevel, kResultUnneeded, true, true);
  model.Flush();
  EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{39999, 1}, {-1, 40000}}));
  EXPECT_EQ(model.rowCount(last), 2);
  EXPECT_EQ(model.index(1, 0, last).data().toString(), "wrong length: x");
  EXPECT_EQ(model.rowCount(), 40001);
  EXPECT_FALSE(model.hasChildren(model.index(40000, 0)));

  ClearResults(results);
  EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
}  // namespace kestrel
