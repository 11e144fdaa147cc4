#include "gui/results_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <set>

#include "app/user_interface.h"
#include "gui/findings_export.h"
#include "gui/off_gui_thread.h"
#include "gui/qt_text.h"
#include "gui/qt_user_interface.h"
#include "gui/remembered_position.h"
#include "gui/result_columns.h"
#include "gui/result_icons.h"
#include "gui/results_table_model.h"
#include "gui/results_tree_model.h"
#include "gui/user_values.h"

namespace kestrel {
namespace {

constexpr char kCsvFilter[] = "Comma-separated values (*.csv)|*.csv||";
// Typing waits this long before a search of many rows begins.
constexpr int kSearchDelayMilliseconds = 150;

// The kinds the filter offers, in the order a user looks for them.
constexpr ResultKind kFilterKinds[] = {
    kResultMissingGame, kResultMissingRom,  kResultMissingSample, kResultWrongChecksum,
    kResultWrongLength, kResultBadDump,     kResultUnreadable,    kResultRomName,
    kResultGameName,    kResultRomCase,     kResultSampleCase,    kResultGameCase,
    kResultUnneeded};

}  // namespace

ResultsWindow::ResultsWindow(ResultsModel& results, WindowLayout& layout)
    : QWidget(nullptr, Qt::Window), results_(results), layout_(layout) {
  setWindowTitle(kResultsCaption);
  model_ = new ResultsTreeModel(results_, this);
  tree_ = new QTreeView(this);
  tree_->setHeaderHidden(true);
  tree_->setUniformRowHeights(true);  // keeps tens of thousands of rows cheap
  tree_->setIconSize(QSize(kResultIconSize, kResultIconSize));
  tree_->setRootIsDecorated(true);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Long lines (full paths) scroll sideways rather than being cut short;
  // the width follows the rows in view, so it costs no walk of all rows.
  tree_->header()->setStretchLastSection(false);
  tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tree_->setModel(model_);
  connect(model_, &ResultsTreeModel::Grown, this, &ResultsWindow::ScrollToNewest);

  tabs_ = new QTabWidget(this);
  tabs_->addTab(BuildTablePage(), "&Findings");
  tabs_->addTab(tree_, "&Lines");
  connect(model_, &ResultsTreeModel::Rebuilt, tableModel_, &ResultsTableModel::Reset);
  connect(model_, &ResultsTreeModel::Grown, this, &ResultsWindow::FollowTable);
  connect(tabs_, &QTabWidget::currentChanged, this, &ResultsWindow::ScrollToNewest);

  // Linux desktops do not let a program extend the window menu; the item
  // lives in a menu bar and the context menu instead.
  alwaysOnTop_ = new QAction("&Always On Top", this);
  alwaysOnTop_->setCheckable(true);
  alwaysOnTop_->setChecked(layout_.alwaysOnTop == 1);
  connect(alwaysOnTop_, &QAction::toggled, this, &ResultsWindow::SetAlwaysOnTop);
  auto* bar = new QMenuBar(this);
  bar->addMenu("&Window")->addAction(alwaysOnTop_);

  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->setMenuBar(bar);
  box->addWidget(tabs_);

  confirmStop = [this] { return AskWithMessageBox(); };
  if (layout_.alwaysOnTop == 1) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  PlaceFromLayout();
}

ResultsWindow::~ResultsWindow() = default;

QWidget* ResultsWindow::BuildTablePage() {
  tableModel_ = new ResultsTableModel(results_, this);
  table_ = new QTableView(this);
  table_->setModel(tableModel_);
  table_->setSortingEnabled(true);
  table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setIconSize(QSize(kResultIconSize, kResultIconSize));
  table_->setWordWrap(false);
  // Fixed row heights and column widths: measuring 400,000 rows would
  // stall the window at every batch.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table_->horizontalHeader()->setStretchLastSection(true);
  for (int column : {kColumnGame, kColumnLine}) table_->setColumnWidth(column, 220);
  table_->setContextMenuPolicy(Qt::ActionsContextMenu);

  auto* copy = new QAction("&Copy Rows", table_);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetShortcut);
  connect(copy, &QAction::triggered, this, &ResultsWindow::CopySelectedRows);
  table_->addAction(copy);

  kindFilter_ = new QComboBox(this);
  kindFilter_->addItem("All findings", kAllKinds);
  for (ResultKind kind : kFilterKinds) kindFilter_->addItem(FindingKindName(kind), static_cast<int>(kind));
  connect(kindFilter_, &QComboBox::currentIndexChanged, this, [this] {
    tableModel_->SetKindFilter(kindFilter_->currentData().toInt());
    ShowCount();
  });
  search_ = new QLineEdit(this);
  search_->setPlaceholderText("Search games, sets, ROMs, paths");
  search_->setClearButtonEnabled(true);
  searchDelay_ = new QTimer(this);
  searchDelay_->setSingleShot(true);
  searchDelay_->setInterval(kSearchDelayMilliseconds);
  connect(search_, &QLineEdit::textChanged, searchDelay_, qOverload<>(&QTimer::start));
  connect(searchDelay_, &QTimer::timeout, this, [this] {
    tableModel_->SetSearch(search_->text());
    ShowCount();
  });
  auto* searchLabel = new QLabel("Sea&rch", this);
  searchLabel->setBuddy(search_);
  auto* showLabel = new QLabel("S&how", this);
  showLabel->setBuddy(kindFilter_);
  auto* copyButton = new QPushButton("&Copy", this);
  copyButton->setToolTip("Copy the selected rows, tab-separated (Ctrl+C).");
  connect(copyButton, &QPushButton::clicked, this, &ResultsWindow::CopySelectedRows);
  auto* exportButton = new QPushButton("&Export CSV...", this);
  exportButton->setToolTip("Save the rows shown as a CSV file.");
  connect(exportButton, &QPushButton::clicked, this, &ResultsWindow::AskAndExportCsv);
  for (QPushButton* button : {copyButton, exportButton}) button->setAutoDefault(false);
  count_ = new QLabel(this);
  connect(tableModel_, &ResultsTableModel::Computed, this, &ResultsWindow::ShowCount);

  auto* tools = new QHBoxLayout;
  tools->addWidget(showLabel);
  tools->addWidget(kindFilter_);
  tools->addWidget(searchLabel);
  tools->addWidget(search_, 1);
  tools->addWidget(copyButton);
  tools->addWidget(exportButton);
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(tools);
  layout->addWidget(table_, 1);
  layout->addWidget(count_);
  ShowCount();
  return page;
}

void ResultsWindow::ShowCount() {
  count_->setText(QString("%1 of %2 findings shown").arg(tableModel_->rowCount()).arg(tableModel_->totalRows()));
}

// New findings join the table; a table scrolled to its end stays there, one
// the user scrolled up stays where the user put it.
void ResultsWindow::FollowTable() {
  QScrollBar* bar = table_->verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  tableModel_->Sync();
  ShowCount();
  if (atEnd && table_->isVisible()) table_->scrollToBottom();
}

void ResultsWindow::CopySelectedRows() {
  std::set<int> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedIndexes()) rows.insert(index.row());
  if (rows.empty()) return;
  QApplication::clipboard()->setText(tableModel_->TabText(std::vector<int>(rows.begin(), rows.end())));
}

bool ResultsWindow::ExportCsv(const std::string& path) {
  if (exporting_) return false;  // the button again, while the first export runs
  exporting_ = true;
  const ExportResult result = ExportShownRows(*tableModel_, path);
  exporting_ = false;
  switch (result) {
    case ExportResult::kWritten: return true;
    case ExportResult::kRowsChanged:
      QMessageBox::warning(this, "Export Error",
                           ToQString("The findings were read anew during the export; " + path +
                                     " was not written. Please export again."));
      return false;
    case ExportResult::kNotWritten: break;
  }
  QMessageBox::warning(this, "Export Error", ToQString("Could not write " + path + "."));
  return false;
}

void ResultsWindow::AskAndExportCsv() {
  QtUserInterface ui(this);
  const std::string path = ui.ChooseFile(".csv", "findings.csv", kCsvFilter, false);
  if (!path.empty()) ExportCsv(path);
}

void ResultsWindow::PlaceFromLayout() {
  const QRect rect(QPoint(layout_.outputLeft, layout_.outputTop),
                   QPoint(layout_.outputRight, layout_.outputBottom));
  if (rect.width() > 50 && rect.height() > 50) {
    const QRect fitted = FitOnScreen(rect);
    move(fitted.topLeft());
    resize(fitted.size());
  } else {
    resize(720, 440);
  }
}

void ResultsWindow::RecordRectangle() {
  if (isMinimized() || !isVisible()) return;
  const QRect frame(pos(), size());
  layout_.outputLeft = frame.left();
  layout_.outputTop = frame.top();
  layout_.outputRight = frame.right();
  layout_.outputBottom = frame.bottom();
}

void ResultsWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  RecordRectangle();
}

void ResultsWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  RecordRectangle();
}

void ResultsWindow::Follow() { model_->Flush(); }

// Scrolling lays out every line of the tree; a tree out of sight is
// scrolled when it comes into sight instead of at every batch.
void ResultsWindow::ScrollToNewest() {
  if (!tree_->isVisible()) return;
  const QModelIndex newest = model_->NewestHeader();
  if (newest.isValid()) tree_->scrollTo(newest, QAbstractItemView::PositionAtTop);
}

void ResultsWindow::SetAlwaysOnTop(bool on) {
  layout_.alwaysOnTop = on ? 1 : 0;
  if (alwaysOnTop_->isChecked() != on) alwaysOnTop_->setChecked(on);
  const bool shown = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  // Changing a window flag hides the window; show it again, without
  // taking the focus from the scanner dialog.
  if (shown) {
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
  }
}

void ResultsWindow::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(alwaysOnTop_);
  menu.exec(event->globalPos());
}

void ResultsWindow::CloseQuietly() {
  closingQuietly_ = true;
  close();
  closingQuietly_ = false;
}

// Enter in the tree of lines closes the window and lets the scan go on;
// its lines go with it. Elsewhere (the search field) Enter does nothing.
void ResultsWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (!tree_->hasFocus()) return;
    CloseQuietly();
    tableModel_->Settle();
    FreeOffGuiThread(std::exchange(results_.items, {}));
    FreeOffGuiThread(std::exchange(results_.lines, {}));
    ClearResults(results_);
    return;
  }
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ResultsWindow::closeEvent(QCloseEvent* event) {
  if (closingQuietly_) {
    event->accept();
    return;
  }
  if (isMinimized()) showNormal();
  if (showProgress) showProgress(false);
  const bool stop = confirmStop && confirmStop();
  if (showProgress) showProgress(true);
  if (!stop) {
    event->ignore();
    return;
  }
  event->accept();
  if (onStopRequested) onStopRequested();
}

bool ResultsWindow::AskWithMessageBox() {
  QMessageBox box(QMessageBox::Question, kStopScanningTitle, kStopScanningQuestion,
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setTextFormat(Qt::PlainText);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace kestrel
