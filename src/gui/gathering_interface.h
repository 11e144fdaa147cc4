// A UserInterface for one run that gathers the run's notices (a message
// with only OK, warning or stop icon: a damaged zip, a file that could not
// be fixed) into a ProblemList instead of showing them, so that the run
// goes on and the user reads them once, together, at its end. Questions,
// choosers and progress pass to the interface inside.
#pragma once

#include <memory>
#include <string>

#include "app/user_interface.h"
#include "gui/problem_list.h"

namespace kestrel {

class GatheringInterface : public UserInterface {
 public:
  explicit GatheringInterface(UserInterface* inner) : inner_(inner) {}

  void SetInner(UserInterface* inner) { inner_ = inner; }
  const ProblemList& problems() const { return problems_; }
  // Shows what was gathered and starts anew: nothing for none, a single
  // notice as it was written, more as one list under `title`.
  void ShowGathered(const std::string& title);

  std::unique_ptr<ProgressDialog> OpenProgress(const std::string& title) override;
  int Ask(const std::string& title, const std::string& message) override;
  int Message(const std::string& text, const std::string& title, MessageStyle style) override;
  std::string ChooseFile(const std::string& defaultExtension, const std::string& fileName,
                         const std::string& filter, bool forOpening) override;
  std::string ChooseFolder(const std::string& title) override;
  void ShowProblems(const std::string& title, const std::vector<std::string>& problems) override;

 private:
  struct Notice {
    std::string text;
    std::string title;
    MessageStyle style;
  };
  UserInterface* inner_;
  ProblemList problems_;
  Notice first_;       // the first notice, shown as it was when it stays alone
  int noticeCount_ = 0;
};

// Whether a message is a notice a run may gather: it asks nothing (OK
// only) and warns or reports a stop.
bool IsGatheredNotice(MessageStyle style);

}  // namespace kestrel
