#include "app/scripted_interface.h"

namespace kestrel {
namespace {

class ScriptedProgress : public ProgressDialog {
 public:
  explicit ScriptedProgress(ScriptedInterface& owner) : owner_(owner) { ++owner_.openProgressDialogs; }
  ~ScriptedProgress() override { --owner_.openProgressDialogs; }

  void SetRange(int, int) override {}
  void SetStep(int) override {}
  void Step() override {}
  void SetText(const std::string& text) override { owner_.progressTexts.push_back(text); }
  void SetCaption(const std::string& caption) override { owner_.progressCaptions.push_back(caption); }
  bool IsCancelled() override {
    ++owner_.cancelChecks;
    return owner_.cancelAtCheck != 0 && owner_.cancelChecks == owner_.cancelAtCheck;
  }

 private:
  ScriptedInterface& owner_;
};

template <typename T>
T TakeOr(std::deque<T>& queue, T fallback) {
  if (queue.empty()) return fallback;
  T value = queue.front();
  queue.pop_front();
  return value;
}

}  // namespace

std::unique_ptr<ProgressDialog> ScriptedInterface::OpenProgress(const std::string& title) {
  progressTitles.push_back(title);
  return std::make_unique<ScriptedProgress>(*this);
}

int ScriptedInterface::Ask(const std::string& title, const std::string& message) {
  questions.push_back({message, title, MessageIcon::kQuestion, MessageButtons::kOk});
  return TakeOr(askAnswers, static_cast<int>(kAnswerYes));
}

int ScriptedInterface::Message(const std::string& text, const std::string& title, MessageStyle style) {
  messages.push_back({text, title, style.icon, style.buttons});
  bool yesNo = style.buttons == MessageButtons::kYesNo || style.buttons == MessageButtons::kYesNoCancel;
  return TakeOr(messageAnswers, static_cast<int>(yesNo ? kResultYes : kResultOk));
}

std::string ScriptedInterface::ChooseFile(const std::string&, const std::string&, const std::string&, bool) {
  return TakeOr(fileAnswers, std::string());
}

std::string ScriptedInterface::ChooseFolder(const std::string&) {
  return TakeOr(folderAnswers, std::string());
}

std::vector<std::string> ScriptedInterface::MessageTexts() const {
  std::vector<std::string> texts;
  for (const RecordedMessage& m : messages) texts.push_back(m.text);
  return texts;
}

}  // namespace kestrel
