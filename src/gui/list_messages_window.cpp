#include "gui/list_messages_window.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/problem_list.h"
#include "gui/qt_text.h"
#include "platform/file_replacement.h"

namespace kestrel {
namespace {

constexpr char kSeparator[] = "----------------------------------------\n";

}  // namespace

ListMessagesWindow::ListMessagesWindow(QWidget* owner, const std::string& title, std::vector<std::string> messages)
    : QDialog(owner), messages_(std::move(messages)) {
  setWindowTitle(ToQString(title));
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  count_ = new QLabel(this);
  search_ = new QLineEdit(this);
  search_->setPlaceholderText("Search");
  auto* searchLabel = new QLabel("Sea&rch", this);
  searchLabel->setBuddy(search_);
  search_->setClearButtonEnabled(true);
  list_ = new QListWidget(this);
  list_->setAlternatingRowColors(true);
  list_->setUniformItemSizes(true);  // thousands of lines, measured once
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (const std::string& message : messages_) {
    auto* item = new QListWidgetItem(ToQString(CompactMessage(message)), list_);
    item->setToolTip(ToQString(message));
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* save = buttons->addButton("&Save...", QDialogButtonBox::ActionRole);
  layout->addWidget(count_);
  auto* searchRow = new QHBoxLayout;
  searchRow->addWidget(searchLabel);
  searchRow->addWidget(search_, 1);
  layout->addLayout(searchRow);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  connect(search_, &QLineEdit::textChanged, this, &ListMessagesWindow::Filter);
  connect(save, &QPushButton::clicked, this, &ListMessagesWindow::AskAndSave);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
  resize(640, 480);
  Filter(QString());
}

void ListMessagesWindow::Filter(const QString& search) {
  for (int i = 0; i < list_->count(); ++i) {
    QListWidgetItem* item = list_->item(i);
    item->setHidden(!search.isEmpty() && !item->toolTip().contains(search, Qt::CaseInsensitive));
  }
  count_->setText(countText());
}

int ListMessagesWindow::shownCount() const {
  int shown = 0;
  for (int i = 0; i < list_->count(); ++i) shown += list_->item(i)->isHidden() ? 0 : 1;
  return shown;
}

QString ListMessagesWindow::countText() const {
  int total = static_cast<int>(messages_.size());
  int shown = shownCount();
  QString text = QString("%1 message%2").arg(total).arg(total == 1 ? "" : "s");
  if (shown != total) text += QString(", %1 shown").arg(shown);
  return text;
}

bool ListMessagesWindow::SaveMessages(const std::string& path, const std::vector<std::string>& messages) {
  std::string text;
  for (const std::string& message : messages) text += message + "\n" + kSeparator;
  return ReplaceFile(path, text);
}

void ListMessagesWindow::AskAndSave() {
  QString path = QFileDialog::getSaveFileName(this, "Save Messages", "listerrors.txt", "Text files (*.txt)");
  if (path.isEmpty()) return;
  if (!SaveMessages(FromQString(path), messages_)) {
    QMessageBox::warning(this, "Save Messages", "Can't write '" + path + "' !");
  }
}

ListMessagesWindow* ShowListMessages(QWidget* owner, const std::string& title, std::vector<std::string> messages) {
  if (messages.empty()) return nullptr;
  auto* window = new ListMessagesWindow(owner, title, std::move(messages));
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  return window;
}

}  // namespace kestrel
