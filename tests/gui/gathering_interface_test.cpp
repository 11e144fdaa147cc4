// A run's notices are gathered and shown once at its end; questions still
// reach the person at once.
#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "gui/gathering_interface.h"

namespace kestrel {
namespace {

constexpr MessageStyle kWarning{MessageButtons::kOk, MessageIcon::kExclamation};

TEST(GatheringInterface, ShowsNoticesOnceAndPassesQuestions) {
  ScriptedInterface person;
  GatheringInterface run(&person);
  ShowMessage(&run, "Corrupt Zipfile:\n\n/r/a.zip\n\nReason: X", "Kestrel", kWarning);
  EXPECT_EQ(ShowMessage(&run, "Go on ?", "Q", {MessageButtons::kYesNo, MessageIcon::kQuestion}), kResultYes);
  EXPECT_EQ(person.MessageTexts(), std::vector<std::string>{"Go on ?"});

  // One notice alone comes as it was written.
  run.ShowGathered("Problems");
  EXPECT_EQ(person.messages.back().text, "Corrupt Zipfile:\n\n/r/a.zip\n\nReason: X");
  EXPECT_EQ(person.messages.back().title, "Kestrel");
  run.ShowGathered("Problems");  // shown once: nothing is left
  EXPECT_EQ(person.messages.size(), 2u);

  // More come as one list: a repeat is dropped, a message of another form
  // is one line of its own, and a later message about the same file after
  // it starts a new entry.
  ShowMessage(&run, "Unsupported Zipformat In File:\n\n/r/b.zip", "Kestrel", kWarning);
  ShowMessage(&run, "Unsupported Zipformat In File:\n\n/r/b.zip", "Kestrel", kWarning);
  ShowMessage(&run, "'x' was not fixed:\nIt could not be renamed !", "Fix", {MessageButtons::kOk, MessageIcon::kStop});
  ShowMessage(&run, "Corrupt Zipfile:\n\n/r/b.zip\n\nReason: Y", "Kestrel", kWarning);
  run.ShowGathered("Problems");
  EXPECT_EQ(person.messages.back().title, "Problems");
  EXPECT_EQ(person.messages.back().text,
            "/r/b.zip: Unsupported Zipformat In File\n'x' was not fixed: It could not be renamed !\n"
            "/r/b.zip: Corrupt Zipfile (Reason: Y)");
}

}  // namespace
}  // namespace kestrel
