#include "gui/gathering_interface.h"

#include <utility>

namespace kestrel {

bool IsGatheredNotice(MessageStyle style) {
  return style.buttons == MessageButtons::kOk &&
         (style.icon == MessageIcon::kExclamation || style.icon == MessageIcon::kStop);
}

std::unique_ptr<ProgressDialog> GatheringInterface::OpenProgress(const std::string& title) {
  return OpenProgressDialog(inner_, title);
}

int GatheringInterface::Ask(const std::string& title, const std::string& message) {
  return AskDialog(inner_, title, message);
}

int GatheringInterface::Message(const std::string& text, const std::string& title, MessageStyle style) {
  if (!IsGatheredNotice(style)) return ShowMessage(inner_, text, title, style);
  if (noticeCount_++ == 0) first_ = {text, title, style};
  problems_.Add(text);
  return kResultOk;
}

void GatheringInterface::ShowGathered(const std::string& title) {
  const int notices = std::exchange(noticeCount_, 0);
  std::vector<std::string> entries = problems_.Take();
  if (notices == 1) {
    ShowMessage(inner_, first_.text, first_.title, first_.style);
  } else {
    ShowProblemList(inner_, title, entries);
  }
}

void GatheringInterface::ShowProblems(const std::string& title, const std::vector<std::string>& problems) {
  ShowProblemList(inner_, title, problems);
}

std::string GatheringInterface::ChooseFile(const std::string& defaultExtension, const std::string& fileName,
                                           const std::string& filter, bool forOpening) {
  return PickFile(inner_, defaultExtension, fileName, filter, forOpening);
}

std::string GatheringInterface::ChooseFolder(const std::string& title) { return PickFolder(inner_, title); }

}  // namespace kestrel
