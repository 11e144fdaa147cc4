// What the console answers without a terminal to ask at, by the --answer
// given, and how it lays out a message on a terminal and off one.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>

#include "cli/console_interface.h"

namespace kestrel {
namespace {

std::string Named(int result) {
  static const std::map<int, std::string> kNames = {
      {kResultOk, "ok"},       {kResultCancel, "cancel"}, {kResultRetry, "retry"},   {kResultYes, "yes"},
      {kResultNo, "no"},       {kAnswerYes, "Yes"},       {kAnswerNo, "No"},         {kAnswerYesToAll, "YesToAll"},
      {kAnswerNoToAll, "NoToAll"}, {kAnswerStop, "Stop"}};
  return kNames.at(result);
}

TEST(ConsoleAnswersTest, WithoutATerminalEveryQuestionTakesTheAnswerGivenInAnyCase) {
  const std::map<std::string, std::string> expected = {
      {"Ask", "Yes ok yes yes ok retry ''"},       {"YES", "Yes ok yes yes ok retry ''"},
      {"no", "No ok no no cancel cancel ''"},      {"Yes-To-All", "YesToAll ok yes yes ok retry ''"},
      {"no-to-all", "NoToAll ok no no cancel cancel ''"}, {"Stop", "Stop ok no no cancel cancel ''"}};
  for (const auto& [answer, results] : expected) {
    AnswerPolicy policy;
    ASSERT_TRUE(ParseAnswerPolicy(answer, &policy)) << answer;
    std::FILE* in = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::fputs("y\n/typed\n", in);
    std::rewind(in);
    ConsoleInterface console(policy, in, err);
    std::string got = Named(console.Ask("Q", "Fix it ?"));
    for (MessageButtons buttons : {MessageButtons::kOk, MessageButtons::kYesNo, MessageButtons::kYesNoCancel,
                                   MessageButtons::kOkCancel, MessageButtons::kRetryCancel})
      got += " " + Named(console.Message("Go on ?", "K", {buttons}));
    got += " '" + console.ChooseFolder("Folder") + "'";
    EXPECT_EQ(got, results) << answer;
    std::fclose(in);
    std::fclose(err);
  }
}

TEST(ConsoleAnswersTest, AMessageIsOneLineThatWipesTheProgressLineOnlyOnATerminal) {
  EXPECT_EQ(FoldLineBreaks("\n two\r\n lines \n"), "two lines");
  EXPECT_EQ(FoldLineBreaks("tab\tand  spaces"), "tab\tand  spaces");
  EXPECT_EQ(FoldLineBreaks(" \n"), "");
  int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (terminal < 0 || ::grantpt(terminal) != 0 || ::unlockpt(terminal) != 0) GTEST_SKIP() << "no pseudo-terminal here";
  for (bool onTerminal : {true, false}) {
    std::FILE* err = onTerminal ? std::fopen(::ptsname(terminal), "w") : std::tmpfile();
    ConsoleInterface console(AnswerPolicy::kYes, nullptr, err);
    {
      auto progress = console.OpenProgress("Scanning");
      progress->SetRange(0, 4);
      progress->SetText("\n\n" + std::string(80, 'p') + "\nmore");  // cut to the 78 columns of a terminal
      console.Message("Done", "K", {});
    }
    std::fflush(err);
    std::string text;
    char piece[4096];
    if (onTerminal) {
      // A terminal passes on what was written a little later, maybe in pieces.
      pollfd ready{terminal, POLLIN, 0};
      for (ssize_t got; ::poll(&ready, 1, 500) > 0 && (got = ::read(terminal, piece, sizeof piece)) > 0;)
        text.append(piece, static_cast<size_t>(got));
    } else {
      std::rewind(err);
      text.assign(piece, std::fread(piece, 1, sizeof piece, err));
    }
    const std::string drawn = "\r\033[KScanning 0% " + std::string(66, 'p') + "\r\033[K";
    EXPECT_EQ(text, onTerminal ? drawn + "[K] Done\r\n\r\033[K" : "[K] Done\n");
    std::fclose(err);
  }
  ::close(terminal);
}

}  // namespace
}  // namespace kestrel
