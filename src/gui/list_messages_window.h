// Problems shown together, one line each: those of a game list load (a real
// list can hold thousands) or those a run gathered. A message box each would
// have to be closed by hand one after another; this window asks nothing,
// stays open beside the others and closes itself when closed. It lists
// every message in order with their count, scrolls, searches, and saves
// them as text as written; a line's tool tip shows its message whole.
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
  ListMessagesWindow(QWidget* owner, const std::string& title, std::vector<std::string> messages);

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

inline constexpr char kGameListProblemsTitle[] = "Game List Problems";

// Opens the window over `owner` when there is anything to show, and
// returns it (it deletes itself once closed); null for nothing to show.
ListMessagesWindow* ShowListMessages(QWidget* owner, const std::string& title, std::vector<std::string> messages);

}  // namespace kestrel
