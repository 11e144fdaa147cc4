// The dialogs on a terminal: messages go to standard error with their title,
// questions are answered by a policy from the command line or, without one,
// asked on the terminal when there is one; progress is a bar on standard
// error when that is a terminal.
#pragma once

#include <cstdio>
#include <string>

#include "app/user_interface.h"

namespace kestrel {

enum class AnswerPolicy { kAsk, kYes, kNo, kYesToAll, kNoToAll, kStop };

// "ask", "yes", "no", "yes-to-all", "no-to-all", "stop".
bool ParseAnswerPolicy(const std::string& text, AnswerPolicy* policy);

class ConsoleInterface : public UserInterface {
 public:
  ConsoleInterface(AnswerPolicy policy, std::FILE* in = stdin, std::FILE* err = stderr);

  std::unique_ptr<ProgressDialog> OpenProgress(const std::string& title) override;
  int Ask(const std::string& title, const std::string& message) override;
  int Message(const std::string& text, const std::string& title, MessageStyle style) override;
  std::string ChooseFile(const std::string& defaultExtension, const std::string& fileName,
                         const std::string& filter, bool forOpening) override;
  std::string ChooseFolder(const std::string& title) override;

 private:
  // Reads one line from the terminal; "" when there is none.
  std::string ReadAnswerLine(const std::string& prompt);
  bool Interactive() const;

  AnswerPolicy policy_;
  std::FILE* in_;
  std::FILE* err_;
};

}  // namespace kestrel
