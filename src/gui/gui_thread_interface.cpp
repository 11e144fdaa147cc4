#include "gui/gui_thread_interface.h"

#include <QThread>
#include <QTimer>
#include <atomic>
#include <mutex>

namespace kestrel {
namespace {

// About twenty redraws a second keep the bar moving and Cancel prompt; a
// redraw per step would cost the GUI thread more than the step.
constexpr int kRedrawMilliseconds = 50;

bool OnThreadOf(const QObject& object) { return QThread::currentThread() == object.thread(); }

// Runs `call` on the thread of `object` and returns once it has ended.
template <class Call>
void RunOnThreadOf(QObject& object, Call call) {
  if (OnThreadOf(object)) {
    call();
    return;
  }
  QMetaObject::invokeMethod(&object, call, Qt::BlockingQueuedConnection);
}

// What the worker last told its progress dialog. The counters tell a new
// range or text from the same one told again.
struct ProgressState {
  int lower = 0;
  int upper = 100;
  int step = 1;
  int position = 0;
  int ranges = 0;  // SetRange calls so far
  std::string text;
  int texts = 0;  // SetText calls so far
  std::string caption;
  int captions = 0;  // SetCaption calls so far
};

struct SharedProgress {
  std::mutex mutex;
  ProgressState state;              // written by the worker
  std::atomic<bool> cancelled = false;  // set on the GUI thread, taken by the worker
};

}  // namespace

// On the GUI thread: shows the worker's latest progress in the dialog the
// inner interface opened, and takes its cancel flag to the worker.
class ProgressRelay : public QObject {
 public:
  ProgressRelay(std::unique_ptr<ProgressDialog> shown, std::shared_ptr<SharedProgress> shared)
      : shown_(std::move(shown)), shared_(std::move(shared)) {
    timer_.setInterval(kRedrawMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &ProgressRelay::Redraw);
    timer_.start();
  }

  void Redraw() {
    ProgressState latest;
    {
      std::lock_guard lock(shared_->mutex);
      latest = shared_->state;
    }
    if (latest.ranges != drawn_.ranges) {
      shown_->SetRange(latest.lower, latest.upper);
      drawn_.position = latest.lower;
    }
    // The shown dialog knows only steps: one step of the whole distance.
    if (latest.position != drawn_.position) {
      shown_->SetStep(latest.position - drawn_.position);
      shown_->Step();
    }
    if (latest.texts != drawn_.texts) shown_->SetText(latest.text);
    if (latest.captions != drawn_.captions) shown_->SetCaption(latest.caption);
    drawn_ = std::move(latest);
    if (shown_->IsCancelled()) shared_->cancelled = true;
  }

 private:
  std::unique_ptr<ProgressDialog> shown_;
  std::shared_ptr<SharedProgress> shared_;
  ProgressState drawn_;  // what the shown dialog has been told
  QTimer timer_;
};

// On the worker: notes what the tool tells it; never waits for a redraw.
class WorkerProgress : public ProgressDialog {
 public:
  WorkerProgress(GuiThreadInterface& owner, ProgressRelay* relay, std::shared_ptr<SharedProgress> shared)
      : owner_(owner), relay_(relay), shared_(std::move(shared)) {}
  ~WorkerProgress() override { owner_.CloseProgress(relay_); }

  void SetRange(int lower, int upper) override {
    Change([&](ProgressState& state) {
      state.lower = lower;
      state.upper = upper;
      state.position = lower;
      ++state.ranges;
    });
  }
  void SetStep(int step) override {
    Change([&](ProgressState& state) { state.step = step; });
  }
  void Step() override {
    Change([](ProgressState& state) { state.position += state.step; });
  }
  void SetText(const std::string& text) override {
    Change([&](ProgressState& state) {
      state.text = text;
      ++state.texts;
    });
  }
  void SetCaption(const std::string& caption) override {
    Change([&](ProgressState& state) {
      state.caption = caption;
      ++state.captions;
    });
  }
  bool IsCancelled() override { return shared_->cancelled.exchange(false); }

 private:
  template <class Edit>
  void Change(Edit edit) {
    std::lock_guard lock(shared_->mutex);
    edit(shared_->state);
  }

  GuiThreadInterface& owner_;
  ProgressRelay* relay_;
  std::shared_ptr<SharedProgress> shared_;
};

template <class Call>
void GuiThreadInterface::OnGuiThread(Call call) {
  RunOnThreadOf(guiThread_, call);
}

template <class Call>
void GuiThreadInterface::AskOnGuiThread(Call call) {
  OnGuiThread([&] {
    for (ProgressRelay* relay : open_) relay->Redraw();
    call();
  });
}

// The dialog is gone when this returns, as a dialog closed on the GUI
// thread would be: the next message does not open beneath it.
void GuiThreadInterface::CloseProgress(ProgressRelay* relay) {
  OnGuiThread([&] {
    std::erase(open_, relay);
    delete relay;
  });
}

std::unique_ptr<ProgressDialog> GuiThreadInterface::OpenProgress(const std::string& title) {
  if (OnThreadOf(guiThread_)) return OpenProgressDialog(inner_, title);
  auto shared = std::make_shared<SharedProgress>();
  ProgressRelay* relay = nullptr;
  OnGuiThread([&] {
    relay = new ProgressRelay(OpenProgressDialog(inner_, title), shared);
    open_.push_back(relay);
  });
  return std::make_unique<WorkerProgress>(*this, relay, shared);
}

int GuiThreadInterface::Ask(const std::string& title, const std::string& message) {
  int answer = kAnswerNo;
  AskOnGuiThread([&] { answer = AskDialog(inner_, title, message); });
  return answer;
}

int GuiThreadInterface::Message(const std::string& text, const std::string& title, MessageStyle style) {
  int answer = kResultOk;
  AskOnGuiThread([&] { answer = ShowMessage(inner_, text, title, style); });
  return answer;
}

std::string GuiThreadInterface::ChooseFile(const std::string& defaultExtension, const std::string& fileName,
                                           const std::string& filter, bool forOpening) {
  std::string path;
  AskOnGuiThread([&] { path = PickFile(inner_, defaultExtension, fileName, filter, forOpening); });
  return path;
}

std::string GuiThreadInterface::ChooseFolder(const std::string& title) {
  std::string folder;
  AskOnGuiThread([&] { folder = PickFolder(inner_, title); });
  return folder;
}

void GuiThreadInterface::ShowProblems(const std::string& title, const std::vector<std::string>& problems) {
  AskOnGuiThread([&] { ShowProblemList(inner_, title, problems); });
}

}  // namespace kestrel
