#include "app/user_interface.h"

#include <gtest/gtest.h>

#include <climits>

#include "app/scripted_interface.h"

namespace kestrel {
namespace {

TEST(ProgressPercentTest, WrapsPastTheUpperBound) {
  EXPECT_EQ(ProgressPercentText(2, 0, 4), "50%");
  EXPECT_EQ(ProgressPercentText(4, 0, 4), "100%") << "exactly 100 stays";
  EXPECT_EQ(ProgressPercentText(5, 0, 4), "25%") << "125 shows modulo 100";
  EXPECT_EQ(ProgressPercentText(7, 7, 7), "0%") << "an empty range";
  EXPECT_EQ(ProgressPercentText(INT_MAX, -1, 1), "0%") << "differences beyond an int";
  EXPECT_EQ(ProgressPercentText(0, INT_MIN, INT_MAX), "50%");
}

TEST(UserInterfaceTest, WithoutOwnerNothingIsShown) {
  EXPECT_EQ(ShowMessage(nullptr, "text", "title", {}), kResultOk);
  EXPECT_EQ(AskDialog(nullptr, "Fix ?", "Rename ?"), kAnswerNo);
  EXPECT_EQ(PickFile(nullptr, ".kpf", "", "a|*.kpf||", true), "");
  EXPECT_EQ(PickFolder(nullptr, "t"), "");
  std::unique_ptr<ProgressDialog> progress = OpenProgressDialog(nullptr, "Receiving Data");
  ASSERT_NE(progress, nullptr);
  EXPECT_FALSE(progress->IsCancelled());
}

TEST(ScriptedInterfaceTest, PlaysAnswersAndRecordsWhatWasShown) {
  ScriptedInterface ui;
  ui.askAnswers = {kAnswerNoToAll};
  ui.cancelAtCheck = 2;
  EXPECT_EQ(AskDialog(&ui, "Fix ?", "Rename ?"), kAnswerNoToAll);
  EXPECT_EQ(AskDialog(&ui, "Fix ?", "Again ?"), kAnswerYes);
  EXPECT_EQ(ShowMessage(&ui, "Sure ?", "Q", {MessageButtons::kYesNo, MessageIcon::kQuestion}), kResultYes);
  ShowMessage(&ui, "plain", "Kestrel", {});
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::kQuestion);
  EXPECT_EQ(ui.messages[1].text, "plain");
  {
    auto progress = OpenProgressDialog(&ui, "Scanning Files");
    EXPECT_EQ(ui.openProgressDialogs, 1);
    EXPECT_FALSE(progress->IsCancelled());
    EXPECT_TRUE(progress->IsCancelled());
    EXPECT_FALSE(progress->IsCancelled()) << "the flag clears once read";
  }
  EXPECT_EQ(ui.openProgressDialogs, 0);
}

}  // namespace
}  // namespace kestrel
