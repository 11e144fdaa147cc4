// The dialogs of UserInterface as Qt widgets, owned by one window: message
// boxes raise the owner first, the progress window is modal to it.
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/user_interface.h"

namespace kestrel {

class QtUserInterface : public UserInterface {
 public:
  explicit QtUserInterface(QWidget* owner) : owner_(owner) {}

  std::unique_ptr<ProgressDialog> OpenProgress(const std::string& title) override;
  int Ask(const std::string& title, const std::string& message) override;
  int Message(const std::string& text, const std::string& title, MessageStyle style) override;
  std::string ChooseFile(const std::string& defaultExtension, const std::string& fileName,
                         const std::string& filter, bool forOpening) override;
  std::string ChooseFolder(const std::string& title) override;
  // A window of its own that stays open beside the others: it asks nothing.
  void ShowProblems(const std::string& title, const std::vector<std::string>& problems) override;

  QWidget* owner() const { return owner_; }

 private:
  QPointer<QWidget> owner_;
};

// The window a message of `owner` is shown over: `owner` while it is shown
// and not minimised, else the window in front (a modal dialog, the active
// window), else none, so that the message stands on its own rather than
// hide with a minimised window.
QWidget* VisibleOwner(QWidget* owner);

// Brings a window to the front without moving, sizing or activating it.
void RaiseWithoutActivating(QWidget* window);

}  // namespace kestrel
