// The five-button question of the tools: Yes, No, Yes To All, No To All,
// Stop. The dialog ends with the answer code of the pressed button.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

namespace kestrel {

class AskWindow : public QDialog {
  Q_OBJECT

 public:
  AskWindow(QWidget* owner, const std::string& title, const std::string& message);

  // Runs the dialog; the answer is one of AskAnswer.
  int Ask();

  QString message() const;
  QPushButton* button(int answer) const;

 protected:
  // There is no "cancel" answer: closing the window means Stop, the
  // answer that keeps the caller from doing anything further.
  void reject() override;

 private:
  QLabel* message_ = nullptr;
  QPushButton* buttons_[5] = {};
};

}  // namespace kestrel
