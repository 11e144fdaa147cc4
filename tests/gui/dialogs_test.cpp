#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "gui/ask_window.h"
#include "gui/gui_test_helpers.h"
#include "gui/progress_window.h"
#include "gui/qt_user_interface.h"

namespace kestrel {
namespace {

using testing::WhenModalOpens;

TEST(ProgressWindow, PercentWrapsTextFitsAndOnlyYesCancels) {
  ProgressWindow progress(nullptr, "Scanning Files");
  progress.show();
  EXPECT_EQ(progress.percentText(), " 0 %");
  progress.SetRange(0, 10);
  progress.SetStep(5);
  progress.Step();
  EXPECT_EQ(progress.percentText(), "50%");
  progress.Step();
  EXPECT_EQ(progress.percentText(), "100%");
  progress.Step();  // 150 % shows as 50 %
  EXPECT_EQ(progress.percentText(), "50%");
  progress.SetRange(0, 40000);  // beyond the 16 bits of older bars
  progress.SetStep(35000);
  progress.Step();
  EXPECT_EQ(progress.percentText(), "87%");

  // The texts start with two line breaks; the description below them must
  // fit, however long it is, and keep its ampersands.
  auto* label = progress.findChild<QLabel*>();
  ASSERT_NE(label, nullptr);
  for (const char* description : {"\n\n Tom & Jerry <tomjerry>",
                                  "\n\n Metal Slug - Super Vehicle-001 / Metal Slug X - Super Vehicle-001 "
                                  "(prototype, set 2, not working)"}) {
    progress.SetText(description);
    QApplication::processEvents();
    EXPECT_EQ(progress.text(), description);
    EXPECT_GE(label->height(), label->heightForWidth(label->width())) << description;
  }

  int questions = 0;
  bool answer = false;
  progress.confirmCancel = [&] { ++questions; return answer; };
  progress.cancelButton()->click();
  EXPECT_FALSE(progress.IsCancelled());  // answered No: the operation runs on
  answer = true;
  progress.cancelButton()->click();
  EXPECT_TRUE(progress.IsCancelled());
  EXPECT_FALSE(progress.IsCancelled());  // the flag is cleared once read
  progress.reject();                     // Escape and the close box ask as well
  EXPECT_EQ(questions, 3);
  EXPECT_TRUE(progress.IsCancelled());
}

// Messages show as given; one of a minimised window gets a visible owner.
TEST(QtUserInterface, MessageShowsTitleIconAndTextAsGiven) {
  QWidget owner;
  owner.show();
  QtUserInterface ui(&owner);
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString title, text;
  QWidget* parent = &owner;
  WhenModalOpens([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    icon = box->icon();
    title = box->windowTitle();
    text = box->text();
    box->button(QMessageBox::No)->click();
  });
  const int result = ui.Message("Remove <pacman> & co ?", "Question",
                                {MessageButtons::kYesNo, MessageIcon::kQuestion});
  EXPECT_EQ(result, kResultNo);
  EXPECT_EQ(icon, QMessageBox::Question);
  EXPECT_EQ(title, "Question");
  EXPECT_EQ(text, "Remove <pacman> & co ?");

  owner.showMinimized();
  ASSERT_TRUE(owner.isMinimized());
  WhenModalOpens([&](QWidget* modal) {
    parent = modal->parentWidget();
    modal->close();
  });
  ui.Message("Some Profile-Settings Aren't Valid !", "Profile Error", {});
  EXPECT_NE(parent, &owner);
  EXPECT_TRUE(parent == nullptr || (parent->isVisible() && !parent->isMinimized()));

  QtUserInterface ownerless(nullptr);
  EXPECT_EQ(ownerless.Message("x", "y", {}), kResultOk);  // shows nothing
}

}  // namespace
}  // namespace kestrel
