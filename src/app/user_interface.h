// The few ways every tool talks to the user: a progress dialog for long
// operations, a five-button question, message boxes and file choosers.
//
// The core never shows a window itself. It is handed a UserInterface that
// stands for the owner window; the desktop program, the command line and the
// tests each provide their own.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kestrel {

// Answers of AskDialog.
enum AskAnswer {
  kAnswerYes = 1050,
  kAnswerNo = 1051,
  kAnswerYesToAll = 1052,
  kAnswerNoToAll = 1053,
  kAnswerStop = 1054,
};

// Buttons a message box may carry, and the button pressed.
enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel, kRetryCancel };
enum MessageResult { kResultOk = 1, kResultCancel = 2, kResultRetry = 4, kResultYes = 6, kResultNo = 7 };
enum class MessageIcon { kNone, kStop, kExclamation, kQuestion, kInformation };

struct MessageStyle {
  MessageButtons buttons = MessageButtons::kOk;
  MessageIcon icon = MessageIcon::kNone;
};

// A progress bar with a text, a percentage and a Cancel button that asks
// "Do you really want to stop ?" before it sets the cancel flag.
// Lives for one operation; destroying it gives the owner back.
class ProgressDialog {
 public:
  virtual ~ProgressDialog() = default;
  virtual void SetRange(int lower, int upper) = 0;
  virtual void SetStep(int step) = 0;
  virtual void Step() = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // Lets the interface handle pending events, then returns the cancel flag
  // and clears it.
  virtual bool IsCancelled() = 0;
};

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  virtual std::unique_ptr<ProgressDialog> OpenProgress(const std::string& title) = 0;
  // Returns one of AskAnswer.
  virtual int Ask(const std::string& title, const std::string& message) = 0;
  // Returns one of MessageResult.
  virtual int Message(const std::string& text, const std::string& title, MessageStyle style) = 0;
  // Returns the chosen path, or "" when cancelled. `filter` is pairs of
  // description and pattern separated by '|', ending with "||".
  virtual std::string ChooseFile(const std::string& defaultExtension, const std::string& fileName,
                                 const std::string& filter, bool forOpening) = 0;
  // Returns the chosen folder with a trailing '/', or "" when cancelled.
  virtual std::string ChooseFolder(const std::string& title) = 0;
  // The problems a run gathered, one line each, shown once at its end and
  // not to be acknowledged one by one. By default one message lists them.
  virtual void ShowProblems(const std::string& title, const std::vector<std::string>& problems);
};

// The free functions the tools call. A null owner shows nothing: the
// message answers OK, the question answers No (nothing is changed without
// someone agreeing), a chooser answers "".
std::unique_ptr<ProgressDialog> OpenProgressDialog(UserInterface* owner, const std::string& title);
int AskDialog(UserInterface* owner, const std::string& title, const std::string& message);
int ShowMessage(UserInterface* owner, const std::string& text, const std::string& title,
                MessageStyle style);
std::string PickFile(UserInterface* owner, const std::string& defaultExtension,
                     const std::string& fileName, const std::string& filter, bool forOpening);
std::string PickFolder(UserInterface* owner, const std::string& title);
void ShowProblemList(UserInterface* owner, const std::string& title, const std::vector<std::string>& problems);

// The percentage text a progress dialog shows for a position: integer
// arithmetic, values above 100 wrap modulo 100 (exactly 100 stays), an empty
// range shows 0. Format "%d%c" with '%'.
std::string ProgressPercentText(int position, int lower, int upper);

}  // namespace kestrel
