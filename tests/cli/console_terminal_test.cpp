// The answers typed at a terminal: each question waits for a known answer,
// in either case, and ends when the input does (Ctrl-D stops the run
// instead of asking for ever).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/console_interface.h"

namespace kestrel {
namespace {

// A terminal whose keyboard is `master`; the program reads `in`.
struct Terminal {
  Terminal() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
    in = std::fopen(::ptsname(master), "r");
  }
  ~Terminal() {
    if (in) std::fclose(in);
    if (master >= 0) ::close(master);
  }
  void Type(const std::string& keys) const {
    EXPECT_EQ(::write(master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }
  int master = -1;
  std::FILE* in = nullptr;
};

TEST(ConsoleTerminalTest, CtrlDStopsAndATypedFolderEndsInASeparator) {
  ::alarm(20);  // a question asked for ever ends the test here, not at the suite's timeout
  std::FILE* err = std::tmpfile();
  Terminal terminal;
  if (terminal.in == nullptr) GTEST_SKIP() << "no pseudo-terminal here";
  ConsoleInterface console(AnswerPolicy::kAsk, terminal.in, err);
  terminal.Type("yes\nroms\nsets/\n\x04");  // the last key is Ctrl-D
  EXPECT_EQ(console.Ask("Question", "Fix it ?"), kAnswerYes);
  EXPECT_EQ(console.ChooseFolder("Folder"), "roms/");
  EXPECT_EQ(console.ChooseFolder("Folder"), "sets/");
  EXPECT_EQ(console.Ask("Question", "Fix it ?"), kAnswerStop);
  std::fclose(err);
  ::alarm(0);
}

TEST(ConsoleTerminalTest, ReadsTheAnswersTypedInEitherCase) {
  Terminal terminal;
  if (terminal.in == nullptr) GTEST_SKIP() << "no pseudo-terminal here";
  std::FILE* err = std::tmpfile();
  terminal.Type("Y\nmaybe\nno\na\nl\nstop\nyes\nc\no\n");
  ConsoleInterface console(AnswerPolicy::kAsk, terminal.in, err);
  std::vector<int> answers;
  for (int i = 0; i < 5; ++i) answers.push_back(console.Ask("Question", "Fix it ?"));
  EXPECT_EQ(answers, (std::vector<int>{kAnswerYes, kAnswerNo, kAnswerYesToAll, kAnswerNoToAll, kAnswerStop}));
  EXPECT_EQ(console.Message("Go on ?", "Kestrel", {MessageButtons::kYesNo}), kResultYes);
  EXPECT_EQ(console.Message("Retry ?", "Kestrel", {MessageButtons::kRetryCancel}), kResultCancel);
  EXPECT_EQ(console.Message("Go on ?", "Kestrel", {MessageButtons::kOkCancel}), kResultOk);
  // An answer given for all answers even with a terminal at hand.
  EXPECT_EQ(ConsoleInterface(AnswerPolicy::kNo, terminal.in, err).Ask("Question", "Fix it ?"), kAnswerNo);
  std::fclose(err);
}

}  // namespace
}  // namespace kestrel
