// The "Scan Results" window beside the scanner dialog, usable while the
// scan runs and after it: a table of the findings (filtered by kind,
// searched, sorted, copied, exported as CSV) and the tree of the result
// lines as the logfile has them, both following the scan as it goes.
// Closing it asks whether to stop the scan and close the scanner dialog too.
#pragma once

#include <QWidget>
#include <functional>

#include "report/results_model.h"

class QAction;
class QTimer;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class QTabWidget;
class QTreeView;

namespace kestrel {

struct WindowLayout;
class ResultsTreeModel;
class ResultsTableModel;

inline constexpr char kResultsCaption[] = "Scan Results";
inline constexpr char kStopScanningQuestion[] =
    "Do you want to close the scanner dialog and stop the scan operation ?";
inline constexpr char kStopScanningTitle[] = "Stop Scanning ?";

class ResultsWindow : public QWidget {
  Q_OBJECT

 public:
  // Shows `results`, which must outlive the window. The window takes its
  // place from `layout` and writes its rectangle back there whenever it is
  // moved or sized.
  ResultsWindow(ResultsModel& results, WindowLayout& layout);
  ~ResultsWindow() override;

  // Shows the lines added since the last batch at once.
  void Follow();
  // Closes without the question (the scanner dialog is closing).
  void CloseQuietly();
  void SetAlwaysOnTop(bool on);

  // Puts the selected rows of the table on the clipboard, tab-separated.
  void CopySelectedRows();
  // Writes the rows the table shows to `path` as CSV; false after telling
  // the user why not. Whole or not at all: an existing file stays until
  // the new one is complete. The windows take input meanwhile; a second
  // export asked for then is refused.
  bool ExportCsv(const std::string& path);
  // Asks for a file and exports to it.
  void AskAndExportCsv();

  // Asks the stop question; true for Yes. Tests replace it.
  std::function<bool()> confirmStop;
  // Called after Yes: the scanner dialog stops its scan and closes.
  std::function<void()> onStopRequested;
  // Hides (false) or shows again (true) the progress window of a running
  // scan around the question.
  std::function<void(bool)> showProgress;

  QTreeView* tree() const { return tree_; }
  ResultsTreeModel* model() const { return model_; }
  QTableView* table() const { return table_; }
  QTabWidget* tabs() const { return tabs_; }
  ResultsTableModel* tableModel() const { return tableModel_; }
  QComboBox* kindFilter() const { return kindFilter_; }
  QLineEdit* searchEdit() const { return search_; }
  QLabel* countLabel() const { return count_; }
  QAction* alwaysOnTopAction() const { return alwaysOnTop_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QWidget* BuildTablePage();
  void ShowCount();
  void FollowTable();
  void PlaceFromLayout();
  void RecordRectangle();
  void ScrollToNewest();
  bool AskWithMessageBox();

  ResultsModel& results_;
  WindowLayout& layout_;
  ResultsTreeModel* model_ = nullptr;
  QTreeView* tree_ = nullptr;
  ResultsTableModel* tableModel_ = nullptr;
  QTableView* table_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QComboBox* kindFilter_ = nullptr;
  QLineEdit* search_ = nullptr;
  QLabel* count_ = nullptr;
  QTimer* searchDelay_ = nullptr;
  QAction* alwaysOnTop_ = nullptr;
  bool closingQuietly_ = false;
  bool exporting_ = false;  // an export is taking the rows apart
};

}  // namespace kestrel
