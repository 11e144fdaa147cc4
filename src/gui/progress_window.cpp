#include "gui/progress_window.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "gui/off_gui_thread.h"
#include "gui/qt_text.h"

namespace kestrel {

ProgressWindow::ProgressWindow(QWidget* owner, const std::string& title) : QDialog(owner) {
  setWindowTitle(ToQString(title));
  setWindowModality(Qt::WindowModal);
  setMinimumWidth(360);

  // Plain text: set names such as "<pacman>" or "Tom & Jerry" must show as
  // they are, not as markup or shortcut marks.
  text_ = new QLabel(this);
  text_->setTextFormat(Qt::PlainText);
  text_->setWordWrap(true);
  // The texts begin with two line breaks before the description: room for
  // those and a description wrapped once.
  text_->setMinimumHeight(text_->fontMetrics().lineSpacing() * 4);
  bar_ = new QProgressBar(this);
  bar_->setTextVisible(false);
  percent_ = new QLabel(" 0 %", this);
  percent_->setTextFormat(Qt::PlainText);
  percent_->setMinimumWidth(40);
  percent_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setAutoDefault(false);

  auto* barRow = new QHBoxLayout;
  barRow->addWidget(bar_, 1);
  barRow->addWidget(percent_);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  buttonRow->addWidget(cancel_);
  buttonRow->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addLayout(barRow);
  layout->addLayout(buttonRow);

  confirmCancel = [this] { return AskWithMessageBox(); };
  connect(cancel_, &QPushButton::clicked, this, &ProgressWindow::AskToCancel);
  SetRange(0, 100);
}

void ProgressWindow::SetRange(int lower, int upper) {
  // Qt's bar holds the full bounds, so neither it nor the percentage needs
  // the 16-bit limit of older bars.
  lower_ = lower;
  upper_ = upper;
  position_ = lower_;
  bar_->setRange(std::min(lower_, upper_), std::max(lower_, upper_));
  bar_->setValue(bar_->minimum());
}

void ProgressWindow::SetStep(int step) { step_ = step; }

void ProgressWindow::Step() {
  position_ += step_;
  ShowPosition();
  PumpEvents();
}

// Handling the window's events after every item would cost more than many
// items; about twenty times a second keeps it alive and Cancel prompt. A
// tool on a worker thread needs none of it: the event loop turns anyway,
// and turning it from inside a redraw would let the tool's end close this
// window under the redraw.
void ProgressWindow::PumpEvents() {
  if (WaitingForWorker()) return;
  if (lastPump_.isValid() && lastPump_.elapsed() < kPumpMilliseconds) return;
  QCoreApplication::processEvents();
  lastPump_.start();
}

void ProgressWindow::ShowPosition() {
  // A bar stepped past its end starts again from the beginning, like the
  // percentage beside it.
  const long long span = static_cast<long long>(upper_) - lower_;
  int shown = position_;
  if (span > 0 && position_ > upper_)
    shown = static_cast<int>(lower_ + (static_cast<long long>(position_) - lower_) % span);
  bar_->setValue(std::clamp(shown, bar_->minimum(), bar_->maximum()));
  const QString percent = ToQString(ProgressPercentText(position_, lower_, upper_));
  if (percent_->text() != percent) percent_->setText(percent);
}

void ProgressWindow::SetText(const std::string& text) {
  text_->setText(ToQString(text));
  // A longer text than the window was sized for makes the window grow
  // rather than cut the text off. Laying a text out costs more than a
  // scan step, so only a text longer than any before is measured.
  if (text.size() <= longestText_) return;
  longestText_ = text.size();
  const int needed = text_->heightForWidth(text_->width());
  if (needed > text_->height()) {
    text_->setMinimumHeight(needed);
    adjustSize();
  }
}

void ProgressWindow::SetCaption(const std::string& caption) { setWindowTitle(ToQString(caption)); }

bool ProgressWindow::IsCancelled() {
  PumpEvents();
  return std::exchange(cancelled_, false);
}

QString ProgressWindow::text() const { return text_->text(); }
QString ProgressWindow::percentText() const { return percent_->text(); }

void ProgressWindow::reject() { AskToCancel(); }

// A tool on a worker thread goes on while the question is open, and may
// end and close this window before the user answers.
void ProgressWindow::AskToCancel() {
  const QPointer<ProgressWindow> alive(this);
  const bool stop = confirmCancel && confirmCancel();
  if (alive && stop) cancelled_ = true;
}

bool ProgressWindow::AskWithMessageBox() {
  const QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Question, "Abort Process ?",
                                                    "Do you really want to stop ?",
                                                    QMessageBox::Yes | QMessageBox::No, this);
  box->setTextFormat(Qt::PlainText);
  const int answer = box->exec();
  if (box == nullptr) return false;  // went with this window
  delete box;
  return answer == QMessageBox::Yes;
}

}  // namespace kestrel
