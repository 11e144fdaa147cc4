// The dialogs on a terminal: messages go to standard error as one line each,
// their title first; questions are answered by a policy from the command
// line or, without one, asked on the terminal when there is one; progress is
// a bar on standard error when that is a terminal, redrawn at most about ten
// times a second.
#pragma once

#include <cstdio>
#include <string>

#include "app/user_interface.h"

namespace kestrel {

enum class AnswerPolicy { kAsk, kYes, kNo, kYesToAll, kNoToAll, kStop };

// A message as one console line: every run of blanks that holds a line
// break becomes a single blank; breaks at the start or the end go.
std::string FoldLineBreaks(const std::string& text);

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
