#include "app/user_interface.h"

#include <gtest/gtest.h>

#include <climits>

namespace kestrel {
namespace {

// Exactly 100 stays, 125 shows modulo 100; an empty range, and differences
// beyond an int.
TEST(ProgressPercentTest, WrapsPastTheUpperBound) {
  std::string shown;
  for (auto [position, lower, upper] :
       {std::tuple{2, 0, 4}, {4, 0, 4}, {5, 0, 4}, {7, 7, 7}, {INT_MAX, -1, 1}, {0, INT_MIN, INT_MAX}})
    shown += ProgressPercentText(position, lower, upper) + " ";
  EXPECT_EQ(shown, "50% 100% 25% 0% 0% 50% ");
}

TEST(UserInterfaceTest, WithoutOwnerNothingIsShown) {
  EXPECT_EQ(ShowMessage(nullptr, "text", "title", {}), kResultOk);
  EXPECT_EQ(AskDialog(nullptr, "Fix ?", "Rename ?"), kAnswerNo);
  EXPECT_EQ(PickFile(nullptr, ".kpf", "", "a|*.kpf||", true) + PickFolder(nullptr, "t"), "");
  EXPECT_FALSE(OpenProgressDialog(nullptr, "Receiving Data")->IsCancelled());
}

}  // namespace
}  // namespace kestrel
