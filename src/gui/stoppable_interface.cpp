#include "gui/stoppable_interface.h"

#include <QWidget>

namespace kestrel {

class StoppableProgress : public ProgressDialog {
 public:
  StoppableProgress(StoppableInterface& owner, std::unique_ptr<ProgressDialog> inner)
      : owner_(owner), inner_(std::move(inner)) {
    owner_.openProgress_ = inner_.get();
  }
  ~StoppableProgress() override { owner_.openProgress_ = nullptr; }

  void SetRange(int lower, int upper) override { inner_->SetRange(lower, upper); }
  void SetStep(int step) override { inner_->SetStep(step); }
  void Step() override { inner_->Step(); }
  void SetText(const std::string& text) override { inner_->SetText(text); }
  void SetCaption(const std::string& caption) override { inner_->SetCaption(caption); }
  // The inner dialog is asked first: it lets the interface handle its
  // events, which is where a stop request comes from.
  bool IsCancelled() override {
    const bool cancelled = inner_->IsCancelled();
    return cancelled || owner_.stopRequested_;
  }

 private:
  StoppableInterface& owner_;
  std::unique_ptr<ProgressDialog> inner_;
};

QWidget* StoppableInterface::progressWindow() const {
  return dynamic_cast<QWidget*>(openProgress_);
}

std::unique_ptr<ProgressDialog> StoppableInterface::OpenProgress(const std::string& title) {
  return std::make_unique<StoppableProgress>(*this, OpenProgressDialog(inner_, title));
}

int StoppableInterface::Ask(const std::string& title, const std::string& message) {
  return AskDialog(inner_, title, message);
}

int StoppableInterface::Message(const std::string& text, const std::string& title,
                                MessageStyle style) {
  return ShowMessage(inner_, text, title, style);
}

std::string StoppableInterface::ChooseFile(const std::string& defaultExtension,
                                           const std::string& fileName,
                                           const std::string& filter, bool forOpening) {
  return PickFile(inner_, defaultExtension, fileName, filter, forOpening);
}

std::string StoppableInterface::ChooseFolder(const std::string& title) {
  return PickFolder(inner_, title);
}

void StoppableInterface::ShowProblems(const std::string& title, const std::vector<std::string>& problems) {
  ShowProblemList(inner_, title, problems);
}

}  // namespace kestrel
