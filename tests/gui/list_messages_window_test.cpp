#include "gui/list_messages_window.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>

#include "app/scripted_interface.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

// The list's problems are gathered in order; any other dialog still goes
// to the interface that was there before, which comes back afterwards.
TEST(ListMessagesWindow, CollectsPlainMessagesOnlyWhileALoadRunsAndShowsThem) {
  ScriptedInterface before;
  SetApplicationInterface(&before);
  {
    ListMessagesCollector collector(nullptr);
    PlainMessage("Double description: 'A'");
    ShowMessage(ApplicationInterface(), "Zip damaged", "Zip Error", {MessageButtons::kOk, MessageIcon::kStop});
    PlainMessage("Parentfolder: \n\n'x'\n\nof gameset: \n\n'Y'\n\n doesn't exist !");
    EXPECT_EQ(collector.messages(), (std::vector<std::string>{
                                        "Double description: 'A'",
                                        "Parentfolder: \n\n'x'\n\nof gameset: \n\n'Y'\n\n doesn't exist !"}));
    collector.ShowCollected();  // no owner: nothing to open
  }
  EXPECT_EQ(ApplicationInterface(), &before);
  EXPECT_EQ(before.MessageTexts(), std::vector<std::string>{"Zip damaged"});
  PlainMessage("after");
  EXPECT_EQ(before.MessageTexts().back(), "after");
  SetApplicationInterface(nullptr);

  // The window counts, searches without case and saves.
  std::vector<std::string> messages = {"Double ROM: 'a'\nin gameset: 'One'", "Double ROM: 'b'\nin gameset: 'Two'",
                                       "Double description: 'One'"};
  ListMessagesWindow window(nullptr, messages);
  EXPECT_EQ(window.countText(), "3 messages");
  window.findChild<QLineEdit*>()->setText("ONE");
  EXPECT_EQ(window.shownCount(), 2);
  EXPECT_EQ(window.countText(), "3 messages, 2 shown");
  EXPECT_EQ(window.findChild<QListWidget*>()->item(0)->text().toStdString(), messages[0]);

  testing::TempFolder folder;
  ASSERT_TRUE(ListMessagesWindow::SaveMessages(folder / "list.txt", messages));
  std::string saved = testing::ReadFile(folder / "list.txt");
  EXPECT_EQ(saved.find("Double ROM: 'a'\nin gameset: 'One'\n---"), 0u);
  EXPECT_NE(saved.find("Double description: 'One'\n---"), std::string::npos);
}

}  // namespace
}  // namespace kestrel
