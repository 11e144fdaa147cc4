// The Qt face of ProgressDialog: a text, a bar, a percentage and a Cancel
// button that asks before it sets the cancel flag. The window is modal to
// its owner, which keeps the owner from taking input while the operation
// runs and gives it back when the window goes.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <functional>
#include <string>

#include "app/user_interface.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace kestrel {

class ProgressWindow : public QDialog, public ProgressDialog {
  Q_OBJECT

 public:
  ProgressWindow(QWidget* owner, const std::string& title);

  void SetRange(int lower, int upper) override;
  void SetStep(int step) override;
  void Step() override;
  void SetText(const std::string& text) override;
  void SetCaption(const std::string& caption) override;
  bool IsCancelled() override;

  // Asks whether to stop; true stops. Tests replace it.
  std::function<bool()> confirmCancel;

  QString text() const;
  QString percentText() const;
  QPushButton* cancelButton() const { return cancel_; }

 public slots:
  // Escape and the close box ask like the Cancel button: an operation
  // must never lose its window while it still runs.
  void reject() override;

 private:
  void AskToCancel();
  void PumpEvents();
  void ShowPosition();
  bool AskWithMessageBox();

  QLabel* text_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QLabel* percent_ = nullptr;
  QPushButton* cancel_ = nullptr;
  int lower_ = 0;
  int upper_ = 100;
  int step_ = 1;
  int position_ = 0;
  bool cancelled_ = false;
  static constexpr qint64 kPumpMilliseconds = 50;
  QElapsedTimer lastPump_;  // when events were last handled
  size_t longestText_ = 0;  // the longest text measured so far
};

}  // namespace kestrel
