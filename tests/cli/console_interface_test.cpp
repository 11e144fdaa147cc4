#include "cli/console_interface.h"

#include <gtest/gtest.h>

#include <cstdio>

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
  std::fclose(err);
}

}  // namespace
}  // namespace kestrel
