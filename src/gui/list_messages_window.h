// The problems of one game list load shown together: a real list can hold
// thousands, and one message box each would have to be closed by hand one
// after another. The window lists every message in order with their count,
// scrolls, searches, and saves them as text; the texts stay as written.
#pragma once

#include <QDialog>
#include <QPointer>
#include <string>
#include <vector>

#include "app/user_interface.h"

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

// While it lives, the plain messages sent to the application interface are
// collected instead of shown one box each; every other dialog goes on to
// the interface installed before. ShowCollected() opens the window when
// anything was collected; the destructor puts the previous interface back.
class ListMessagesCollector : public UserInterface {
 public:
  explicit ListMessagesCollector(QWidget* owner);
  ~ListMessagesCollector() override;
  ListMessagesCollector(const ListMessagesCollector&) = delete;
  ListMessagesCollector& operator=(const ListMessagesCollector&) = delete;

  void ShowCollected();
  const std::vector<std::string>& messages() const { return messages_; }

  std::unique_ptr<ProgressDialog> OpenProgress(const std::string& title) override;
  int Ask(const std::string& title, const std::string& message) override;
  int Message(const std::string& text, const std::string& title, MessageStyle style) override;
  std::string ChooseFile(const std::string& defaultExtension, const std::string& fileName,
                         const std::string& filter, bool forOpening) override;
  std::string ChooseFolder(const std::string& title) override;

 private:
  QPointer<QWidget> owner_;
  UserInterface* previous_;
  std::vector<std::string> messages_;
};

}  // namespace kestrel
