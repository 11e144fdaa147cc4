#include "fuzz_input.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kestrel::fuzz {
namespace {

class QuietProgress : public ProgressDialog {
 public:
  // The percentage text is worked out as the real dialogs do, so odd
  // ranges a reader sets are exercised too.
  void SetRange(int lower, int upper) override { lower_ = lower, upper_ = upper; }
  void SetStep(int step) override { step_ = step; }
  void Step() override {
    position_ += step_;
    ProgressPercentText(position_, lower_, upper_);
  }
  void SetText(const std::string&) override {}
  void SetCaption(const std::string&) override {}
  bool IsCancelled() override { return false; }

 private:
  int lower_ = 0, upper_ = 100, step_ = 1, position_ = 0;
};

void RemoveScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(ScratchFolder(), ignored);
}

}  // namespace

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    // Memory-backed when the system has it: a file rewritten thousands of
    // times a second is flushed to disk on every close by some file systems.
    std::error_code error;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "kestrel-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern + "/";
  }();
  static const bool removedAtExit = std::atexit(RemoveScratchFolder) == 0;
  (void)removedAtExit;
  return folder;
}

std::string WriteInputFile(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = ScratchFolder() + name;
  std::remove(path.c_str());  // a new file, not a truncated one, for the same reason
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
  return path;
}

std::unique_ptr<ProgressDialog> QuietInterface::OpenProgress(const std::string&) {
  return std::make_unique<QuietProgress>();
}

int QuietInterface::Ask(const std::string&, const std::string&) { return kAnswerNo; }

int QuietInterface::Message(const std::string&, const std::string&, MessageStyle style) {
  switch (style.buttons) {
    case MessageButtons::kYesNo:
    case MessageButtons::kYesNoCancel: return kResultYes;
    default: return kResultOk;
  }
}

std::string QuietInterface::ChooseFile(const std::string&, const std::string&, const std::string&,
                                       bool) {
  return "";
}

std::string QuietInterface::ChooseFolder(const std::string&) { return ""; }

}  // namespace kestrel::fuzz
