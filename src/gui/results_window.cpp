#include "gui/results_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/user_interface.h"
#include "gui/result_icons.h"
#include "gui/results_tree_model.h"
#include "gui/user_values.h"

namespace kestrel {

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
  box->addWidget(tree_);

  confirmStop = [this] { return AskWithMessageBox(); };
  if (layout_.alwaysOnTop == 1) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  PlaceFromLayout();
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::PlaceFromLayout() {
  const QRect rect(QPoint(layout_.outputLeft, layout_.outputTop),
                   QPoint(layout_.outputRight, layout_.outputBottom));
  if (rect.width() > 50 && rect.height() > 50) {
    move(rect.topLeft());
    resize(rect.size());
  } else {
    resize(420, 400);
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

void ResultsWindow::ScrollToNewest() {
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

// Enter closes the window and lets the scan go on; its lines go with it.
void ResultsWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    CloseQuietly();
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
