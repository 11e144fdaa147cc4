#include "gui/progress_window.h"

#include <gtest/gtest.h>

#include <QPushButton>

namespace kestrel {
namespace {

// Cancel stops an operation only once the person answers Yes, however the
// window is asked to close; the flag is cleared once read.
TEST(ProgressWindow, OnlyAConfirmedCancelStopsTheOperation) {
  ProgressWindow progress(nullptr, "Scanning Files");
  progress.show();
  int questions = 0;
  bool answer = false;
  progress.confirmCancel = [&] { ++questions; return answer; };
  progress.cancelButton()->click();
  EXPECT_FALSE(progress.IsCancelled());  // answered No: the operation runs on
  answer = true;
  progress.cancelButton()->click();
  EXPECT_TRUE(progress.IsCancelled());
  EXPECT_FALSE(progress.IsCancelled());
  progress.reject();  // Escape and the close box ask as well
  EXPECT_EQ(questions, 3);
  EXPECT_TRUE(progress.IsCancelled());
}

}  // namespace
}  // namespace kestrel
