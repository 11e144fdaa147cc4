#include "gui/list_messages_window.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "platform/file_replacement.h"

namespace kestrel {
namespace {

constexpr char kSeparator[] = "----------------------------------------\n";

}  // namespace

ListMessagesWindow::ListMessagesWindow(QWidget* owner, std::vector<std::string> messages)
    : QDialog(owner), messages_(std::move(messages)) {
  setWindowTitle("Game List Problems");
  auto* layout = new QVBoxLayout(this);
  count_ = new QLabel(this);
  search_ = new QLineEdit(this);
  search_->setPlaceholderText("Search");
  search_->setClearButtonEnabled(true);
  list_ = new QListWidget(this);
  list_->setAlternatingRowColors(true);
  list_->setWordWrap(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (const std::string& message : messages_) list_->addItem(ToQString(message));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* save = buttons->addButton("Save...", QDialogButtonBox::ActionRole);
  layout->addWidget(count_);
  layout->addWidget(search_);
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
    item->setHidden(!search.isEmpty() && !item->text().contains(search, Qt::CaseInsensitive));
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

void ShowListMessages(QWidget* owner, std::vector<std::string> messages) {
  if (messages.empty()) return;
  ListMessagesWindow window(owner, std::move(messages));
  window.exec();
}

}  // namespace kestrel
