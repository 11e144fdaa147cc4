// A UserInterface that passes everything to another one, and whose progress
// dialogs report a cancel once a stop was requested from outside the scan,
// such as by closing the results window.
#pragma once

#include <memory>
#include <string>

#include "app/user_interface.h"

class QWidget;

namespace kestrel {

class StoppableInterface : public UserInterface {
 public:
  explicit StoppableInterface(UserInterface* inner) : inner_(inner) {}

  // Every progress check from now on reports a cancel.
  void RequestStop() { stopRequested_ = true; }
  void ClearStop() { stopRequested_ = false; }
  bool stopRequested() const { return stopRequested_; }
  // The window of the open progress dialog, when it is one; else null.
  QWidget* progressWindow() const;

  std::unique_ptr<ProgressDialog> OpenProgress(const std::string& title) override;
  int Ask(const std::string& title, const std::string& message) override;
  int Message(const std::string& text, const std::string& title, MessageStyle style) override;
  std::string ChooseFile(const std::string& defaultExtension, const std::string& fileName,
                         const std::string& filter, bool forOpening) override;
  std::string ChooseFolder(const std::string& title) override;
  void ShowProblems(const std::string& title, const std::vector<std::string>& problems) override;

 private:
  friend class StoppableProgress;
  UserInterface* inner_;
  bool stopRequested_ = false;
  ProgressDialog* openProgress_ = nullptr;
};

}  // namespace kestrel
