// A UserInterface that plays a script: answers are taken from queues, every
// message, question and progress text is recorded. Tests use it in place of
// a person.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/user_interface.h"

namespace kestrel {

struct RecordedMessage {
  std::string text;
  std::string title;
  MessageIcon icon = MessageIcon::kNone;
  MessageButtons buttons = MessageButtons::kOk;
};

class ScriptedInterface : public UserInterface {
 public:
  // Answers given in order; when a queue is empty the default is used:
  // questions answer Yes, messages OK (or Yes for Yes/No boxes), choosers "".
  std::deque<int> askAnswers;
  std::deque<int> messageAnswers;
  std::deque<std::string> fileAnswers;
  std::deque<std::string> folderAnswers;

  // The Nth call of IsCancelled (counted from 1 over all progress dialogs)
  // reports a cancel; 0 never does.
  int cancelAtCheck = 0;

  // What happened.
  std::vector<RecordedMessage> messages;
  std::vector<RecordedMessage> questions;  // icon unused
  std::vector<std::string> progressTitles;
  std::vector<std::string> progressTexts;
  std::vector<std::string> progressCaptions;
  int cancelChecks = 0;
  int openProgressDialogs = 0;

  std::unique_ptr<ProgressDialog> OpenProgress(const std::string& title) override;
  int Ask(const std::string& title, const std::string& message) override;
  int Message(const std::string& text, const std::string& title, MessageStyle style) override;
  std::string ChooseFile(const std::string& defaultExtension, const std::string& fileName,
                         const std::string& filter, bool forOpening) override;
  std::string ChooseFolder(const std::string& title) override;

  // The texts of the recorded messages, in order.
  std::vector<std::string> MessageTexts() const;
};

}  // namespace kestrel
