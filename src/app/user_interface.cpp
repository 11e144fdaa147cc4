#include "app/user_interface.h"

namespace kestrel {
namespace {

// Stands in for a progress dialog when there is no owner: it shows nothing
// and is never cancelled.
class SilentProgress : public ProgressDialog {
 public:
  void SetRange(int, int) override {}
  void SetStep(int) override {}
  void Step() override {}
  void SetText(const std::string&) override {}
  void SetCaption(const std::string&) override {}
  bool IsCancelled() override { return false; }
};

}  // namespace

std::unique_ptr<ProgressDialog> OpenProgressDialog(UserInterface* owner, const std::string& title) {
  if (owner == nullptr) return std::make_unique<SilentProgress>();
  return owner->OpenProgress(title);
}

int AskDialog(UserInterface* owner, const std::string& title, const std::string& message) {
  if (owner == nullptr) return kAnswerNo;
  return owner->Ask(title, message);
}

int ShowMessage(UserInterface* owner, const std::string& text, const std::string& title,
                MessageStyle style) {
  if (owner == nullptr) return kResultOk;
  return owner->Message(text, title, style);
}

std::string PickFile(UserInterface* owner, const std::string& defaultExtension,
                     const std::string& fileName, const std::string& filter, bool forOpening) {
  if (owner == nullptr) return "";
  return owner->ChooseFile(defaultExtension, fileName, filter, forOpening);
}

std::string PickFolder(UserInterface* owner, const std::string& title) {
  if (owner == nullptr) return "";
  return owner->ChooseFolder(title);
}

void UserInterface::ShowProblems(const std::string& title, const std::vector<std::string>& problems) {
  std::string text;
  for (const std::string& problem : problems) text += (text.empty() ? "" : "\n") + problem;
  Message(text, title, {MessageButtons::kOk, MessageIcon::kExclamation});
}

void ShowProblemList(UserInterface* owner, const std::string& title, const std::vector<std::string>& problems) {
  if (owner == nullptr || problems.empty()) return;
  owner->ShowProblems(title, problems);
}

std::string ProgressPercentText(int position, int lower, int upper) {
  // Differences of two ints need more than an int.
  long long percent = 0;
  if (upper != lower) {
    percent = (static_cast<long long>(position) - lower) * 100 / (static_cast<long long>(upper) - lower);
    if (percent > 100) percent %= 100;
  }
  return std::to_string(percent) + "%";
}

}  // namespace kestrel
