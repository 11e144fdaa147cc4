// What the fuzz harnesses share: a scratch folder for the input file, since
// the readers take a path as the program hands them one, and a user
// interface that answers like a user who only clicks OK.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/user_interface.h"

namespace kestrel::fuzz {

// A folder of this process under the system's temporary folder, with a
// trailing '/'. Made on first use, removed with its contents at exit.
const std::string& ScratchFolder();

// Writes `size` bytes to ScratchFolder() + `name` and returns that path.
std::string WriteInputFile(const std::string& name, const uint8_t* data, size_t size);

// Shows nothing, never cancels; messages answer OK (Yes for questions
// that take Yes or No), questions No, choosers "". Keeps no record, so a
// long run does not grow.
class QuietInterface : public UserInterface {
 public:
  std::unique_ptr<ProgressDialog> OpenProgress(const std::string& title) override;
  int Ask(const std::string& title, const std::string& message) override;
  int Message(const std::string& text, const std::string& title, MessageStyle style) override;
  std::string ChooseFile(const std::string& defaultExtension, const std::string& fileName,
                         const std::string& filter, bool forOpening) override;
  std::string ChooseFolder(const std::string& title) override;
};

}  // namespace kestrel::fuzz
