#include "cli/console_interface.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace kestrel {
namespace {

std::string Printed(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

// A list problem written for a dialog box is one line on the console.
TEST(ConsoleInterfaceTest, PrintsEachMessageOnOneLine) {
  EXPECT_EQ(FoldLineBreaks("Parentfolder: \n\n'pacman'\n\nof gameset: \n\n'Puck Man'\n\n doesn't exist !"),
            "Parentfolder: 'pacman' of gameset: 'Puck Man' doesn't exist !");
  EXPECT_EQ(FoldLineBreaks("\n\nDouble ROM: 'a  b'\r\nin gameset: 'x'\n"), "Double ROM: 'a  b' in gameset: 'x'");

  std::FILE* err = std::tmpfile();
  ASSERT_NE(err, nullptr);
  ConsoleInterface console(AnswerPolicy::kNo, nullptr, err);
  console.Message("Can't Receive Data !\n\nGo To The Settings Dialog !", "Kestrel", MessageStyle{});
  EXPECT_EQ(console.Ask("Question", "Remove\nit ?"), kAnswerNo);
  EXPECT_EQ(Printed(err), "[Kestrel] Can't Receive Data ! Go To The Settings Dialog !\n[Question] Remove it ?\n");
  EXPECT_EQ(console.Message("Go on ?", "Kestrel", {MessageButtons::kYesNo}), kResultNo);
  ConsoleInterface agreeing(AnswerPolicy::kYesToAll, nullptr, err);
  EXPECT_EQ(agreeing.Message("Go on ?", "Kestrel", {MessageButtons::kYesNo}), kResultYes);
  std::fclose(err);
}

// At a terminal each question waits for a known answer, in either case;
// the end of the input stops.
TEST(ConsoleInterfaceTest, ReadsTheAnswersTypedAtATerminal) {
  int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  ASSERT_EQ(::grantpt(terminal), 0);
  ASSERT_EQ(::unlockpt(terminal), 0);
  std::FILE* in = std::fopen(::ptsname(terminal), "r");
  ASSERT_NE(in, nullptr);
  const std::string typed = "Y\nmaybe\nno\na\nl\nstop\nyes\nc\no\n";
  ASSERT_EQ(::write(terminal, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
  std::FILE* err = std::tmpfile();
  ConsoleInterface console(AnswerPolicy::kAsk, in, err);
  std::vector<int> answers;
  for (int i = 0; i < 5; ++i) answers.push_back(console.Ask("Question", "Fix it ?"));
  EXPECT_EQ(answers, (std::vector<int>{kAnswerYes, kAnswerNo, kAnswerYesToAll, kAnswerNoToAll, kAnswerStop}));
  EXPECT_EQ(console.Message("Go on ?", "Kestrel", {MessageButtons::kYesNo}), kResultYes);
  EXPECT_EQ(console.Message("Retry ?", "Kestrel", {MessageButtons::kRetryCancel}), kResultCancel);
  EXPECT_EQ(console.Message("Go on ?", "Kestrel", {MessageButtons::kOkCancel}), kResultOk);
  std::fclose(in);
  ::close(terminal);
  std::fclose(err);
}

}  // namespace
}  // namespace kestrel
