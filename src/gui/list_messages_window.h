// The problems of one game list load shown together: a real list can hold
// thousands, and one message box each would have to be closed by hand one
// after another. The window lists every message in order with their count,
// scrolls, searches, and saves them as text; the texts stay as written.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;

namespace kestrel {

class ListMessagesWindow : public QDialog {
  Q_OBJECT

 public:
  ListMessagesWindow(QWidget* owner, std::vector<std::string> messages);

  // Shows only the messages that contain `search` without case; all for "".
  void Filter(const QString& search);
  int shownCount() const;
  QString countText() const;

  // Writes the messages in order, each followed by a separator line. False
  // when the file could not be written.
  static bool SaveMessages(const std::string& path, const std::vector<std::string>& messages);

 private:
  void AskAndSave();

  std::vector<std::string> messages_;
  QLabel* count_ = nullptr;
  QLineEdit* search_ = nullptr;
  QListWidget* list_ = nullptr;
};

// Opens the window over `owner` when there is anything to show.
void ShowListMessages(QWidget* owner, std::vector<std::string> messages);

}  // namespace kestrel
