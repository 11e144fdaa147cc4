// A UserInterface for a tool that runs on a worker thread: every call is
// carried out by another interface on the GUI thread, where Qt's windows
// must live. Questions, messages and choosers block the worker until the
// user has answered. A progress dialog costs the worker nothing: it notes
// its position and text, and the GUI thread shows the latest of them about
// twenty times a second; a cancel the user confirmed there is seen by the
// worker at its next check.
//
// Made on the GUI thread. Called from that thread itself, it passes every
// call straight through.
#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "app/user_interface.h"

namespace kestrel {

class ProgressRelay;

class GuiThreadInterface : public UserInterface {
 public:
  // `inner` may be null: then nothing is shown, as for a null owner.
  explicit GuiThreadInterface(UserInterface* inner) : inner_(inner) {}

  std::unique_ptr<ProgressDialog> OpenProgress(const std::string& title) override;
  int Ask(const std::string& title, const std::string& message) override;
  int Message(const std::string& text, const std::string& title, MessageStyle style) override;
  std::string ChooseFile(const std::string& defaultExtension, const std::string& fileName,
                         const std::string& filter, bool forOpening) override;
  std::string ChooseFolder(const std::string& title) override;
  void ShowProblems(const std::string& title, const std::vector<std::string>& problems) override;

 private:
  friend class WorkerProgress;
  // Runs `call` on the GUI thread and returns once it has ended.
  template <class Call>
  void OnGuiThread(Call call);
  // Runs `call` on the GUI thread once the open progress dialogs show the
  // worker's latest state: a question is about what the progress names.
  template <class Call>
  void AskOnGuiThread(Call call);
  void CloseProgress(ProgressRelay* relay);

  UserInterface* inner_;
  QObject guiThread_;                  // lives on the GUI thread; calls are queued to it
  std::vector<ProgressRelay*> open_;   // the open progress dialogs; GUI thread only
};

}  // namespace kestrel
