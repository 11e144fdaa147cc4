#include "app/user_interface.h"

#include <gtest/gtest.h>

#include <climits>


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

}  // namespace
}  // namespace kestrel
