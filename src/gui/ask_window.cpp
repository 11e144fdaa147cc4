#include "gui/ask_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/user_interface.h"
#include "gui/qt_text.h"

namespace kestrel {
namespace {

struct AnswerButton {
  int answer;
  const char* caption;
};

constexpr AnswerButton kButtons[5] = {
    {kAnswerYes, "&Yes"},        {kAnswerNo, "&No"},     {kAnswerYesToAll, "Yes &To All"},
    {kAnswerNoToAll, "No To &All"}, {kAnswerStop, "&Stop"},
};

}  // namespace

AskWindow::AskWindow(QWidget* owner, const std::string& title, const std::string& message)
    : QDialog(owner) {
  setWindowTitle(ToQString(title));
  message_ = new QLabel(ToQString(message), this);
  message_->setTextFormat(Qt::PlainText);
  message_->setWordWrap(true);
  message_->setMinimumWidth(380);

  auto* row = new QHBoxLayout;
  for (int i = 0; i < 5; ++i) {
    buttons_[i] = new QPushButton(kButtons[i].caption, this);
    const int answer = kButtons[i].answer;
    connect(buttons_[i], &QPushButton::clicked, this, [this, answer] { done(answer); });
    row->addWidget(buttons_[i]);
  }
  buttons_[0]->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(message_);
  layout->addLayout(row);
}

int AskWindow::Ask() {
  // Raised once the modal loop runs: showing it before exec() would leave
  // it without modality.
  QTimer::singleShot(0, this, [this] {
    raise();
    activateWindow();
  });
  return exec();
}

QString AskWindow::message() const { return message_->text(); }

QPushButton* AskWindow::button(int answer) const {
  for (int i = 0; i < 5; ++i)
    if (kButtons[i].answer == answer) return buttons_[i];
  return nullptr;
}

void AskWindow::reject() { done(kAnswerStop); }

}  // namespace kestrel
