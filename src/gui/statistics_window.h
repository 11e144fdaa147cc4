// The "Statistics" window shown at the end of every scan: the statistics
// text in a fixed-pitch font, so its numbers line up in one column.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace kestrel {

class StatisticsWindow : public QDialog {
  Q_OBJECT

 public:
  // `text` has "\n" line ends. The window stays above the others.
  StatisticsWindow(QWidget* owner, const std::string& text);

  QPlainTextEdit* textField() const { return text_; }

 private:
  QPlainTextEdit* text_ = nullptr;
};

}  // namespace kestrel
