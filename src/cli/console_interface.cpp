#include "cli/console_interface.h"

#include <unistd.h>

#include <chrono>

#include "platform/text.h"

namespace kestrel {
namespace {

bool IsTerminal(std::FILE* file) { return file != nullptr && ::isatty(::fileno(file)) == 1; }

// On a terminal a message first wipes the progress line it may share.
const char* LineStart(std::FILE* err) { return IsTerminal(err) ? "\r\033[K" : ""; }

// A terminal line is redrawn at most this often; a scan of tens of
// thousands of sets would otherwise write a line per set.
constexpr std::chrono::milliseconds kRedrawInterval(100);

// A one-line bar redrawn in place, only on a terminal.
class ConsoleProgress : public ProgressDialog {
 public:
  ConsoleProgress(std::FILE* err, const std::string& title) : err_(err), caption_(title), draw_(IsTerminal(err)) {}
  ~ConsoleProgress() override {
    if (draw_ && drawn_) std::fputs("\r\033[K", err_);
  }

  void SetRange(int lower, int upper) override { lower_ = lower, upper_ = upper, position_ = lower; }
  void SetStep(int step) override { step_ = step; }
  void Step() override {
    position_ += step_;
    Draw();
  }
  void SetText(const std::string& text) override {
    size_t start = text.find_first_not_of('\n');
    text_ = start == std::string::npos ? "" : text.substr(start);
    Draw();
  }
  void SetCaption(const std::string& caption) override {
    caption_ = caption;
    Draw();
  }
  bool IsCancelled() override { return false; }

 private:
  void Draw() {
    if (!draw_) return;
    auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - lastDraw_ < kRedrawInterval) return;
    lastDraw_ = now;
    std::string percent = ProgressPercentText(position_, lower_, upper_);
    std::string line = caption_ + " " + percent + " " + text_.substr(0, text_.find('\n'));
    if (line.size() > 78) line.resize(78);
    std::fprintf(err_, "\r\033[K%s", line.c_str());
    std::fflush(err_);
    drawn_ = true;
  }

  std::FILE* err_;
  std::string caption_;
  std::string text_;
  bool draw_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point lastDraw_;
  int lower_ = 0, upper_ = 100, position_ = 0, step_ = 1;
};

int AnswerForPolicy(AnswerPolicy policy) {
  switch (policy) {
    case AnswerPolicy::kNo: return kAnswerNo;
    case AnswerPolicy::kYesToAll: return kAnswerYesToAll;
    case AnswerPolicy::kNoToAll: return kAnswerNoToAll;
    case AnswerPolicy::kStop: return kAnswerStop;
    default: return kAnswerYes;
  }
}

}  // namespace

bool ParseAnswerPolicy(const std::string& text, AnswerPolicy* policy) {
  static const std::pair<const char*, AnswerPolicy> kNames[] = {
      {"ask", AnswerPolicy::kAsk},          {"yes", AnswerPolicy::kYes},
      {"no", AnswerPolicy::kNo},            {"yes-to-all", AnswerPolicy::kYesToAll},
      {"no-to-all", AnswerPolicy::kNoToAll}, {"stop", AnswerPolicy::kStop},
  };
  for (const auto& [name, value] : kNames) {
    if (EqualsNoCase(text, name)) {
      *policy = value;
      return true;
    }
  }
  return false;
}

ConsoleInterface::ConsoleInterface(AnswerPolicy policy, std::FILE* in, std::FILE* err)
    : policy_(policy), in_(in), err_(err) {}

bool ConsoleInterface::Interactive() const { return policy_ == AnswerPolicy::kAsk && IsTerminal(in_); }

std::unique_ptr<ProgressDialog> ConsoleInterface::OpenProgress(const std::string& title) {
  return std::make_unique<ConsoleProgress>(err_, title);
}

std::string ConsoleInterface::ReadAnswerLine(const std::string& prompt) {
  std::fputs(prompt.c_str(), err_);
  std::fflush(err_);
  std::string line;
  int c;
  while ((c = std::fgetc(in_)) != EOF && c != '\n') {
    if (line.size() < 4096) line += static_cast<char>(c);
  }
  return line;
}

std::string FoldLineBreaks(const std::string& text) {
  std::string folded;
  folded.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    size_t runEnd = text.find_first_not_of(" \t\r\n", at);
    if (runEnd == std::string::npos) runEnd = text.size();
    if (runEnd == at) {
      folded += text[at++];
      continue;
    }
    std::string_view run(text.data() + at, runEnd - at);
    bool hasBreak = run.find_first_of("\r\n") != std::string_view::npos;
    if (!hasBreak) {
      folded += run;
    } else if (at > 0 && runEnd < text.size()) {
      folded += ' ';  // breaks at either end are dropped
    }
    at = runEnd;
  }
  return folded;
}

int ConsoleInterface::Ask(const std::string& title, const std::string& message) {
  std::fprintf(err_, "%s[%s] %s\n", LineStart(err_), title.c_str(), FoldLineBreaks(message).c_str());
  if (!Interactive()) return AnswerForPolicy(policy_);
  for (;;) {
    std::string line = ToLowerAscii(ReadAnswerLine("(y)es, (n)o, yes to (a)ll, no to a(l)l, (s)top ? "));
    if (line == "y" || line == "yes") return kAnswerYes;
    if (line == "n" || line == "no") return kAnswerNo;
    if (line == "a") return kAnswerYesToAll;
    if (line == "l") return kAnswerNoToAll;
    if (line == "s" || line == "stop" || std::feof(in_)) return kAnswerStop;
  }
}

int ConsoleInterface::Message(const std::string& text, const std::string& title, MessageStyle style) {
  std::fprintf(err_, "%s[%s] %s\n", LineStart(err_), title.c_str(), FoldLineBreaks(text).c_str());
  bool yesNo = style.buttons == MessageButtons::kYesNo || style.buttons == MessageButtons::kYesNoCancel;
  bool okCancel = style.buttons == MessageButtons::kOkCancel || style.buttons == MessageButtons::kRetryCancel;
  if (!yesNo && !okCancel) return kResultOk;
  if (!Interactive()) {
    bool agree = policy_ == AnswerPolicy::kYes || policy_ == AnswerPolicy::kYesToAll || policy_ == AnswerPolicy::kAsk;
    if (yesNo) return agree ? kResultYes : kResultNo;
    return agree ? (style.buttons == MessageButtons::kRetryCancel ? kResultRetry : kResultOk) : kResultCancel;
  }
  std::string line = ToLowerAscii(ReadAnswerLine(yesNo ? "(y)es or (n)o ? " : "(o)k or (c)ancel ? "));
  bool agree = line == "y" || line == "yes" || line == "o" || line == "ok";
  if (yesNo) return agree ? kResultYes : kResultNo;
  return agree ? (style.buttons == MessageButtons::kRetryCancel ? kResultRetry : kResultOk) : kResultCancel;
}

std::string ConsoleInterface::ChooseFile(const std::string&, const std::string&, const std::string&, bool) {
  if (!Interactive()) return "";
  return ReadAnswerLine("File: ");
}

std::string ConsoleInterface::ChooseFolder(const std::string& title) {
  if (!Interactive()) return "";
  std::string folder = ReadAnswerLine(title + ": ");
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace kestrel
