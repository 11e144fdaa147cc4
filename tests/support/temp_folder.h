// A fresh folder under the system's temporary folder, removed with its
// contents when the test ends.
#pragma once

#include <string>

namespace kestrel::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, with a trailing '/'.
  const std::string& path() const { return path_; }
  // path() followed by `name`.
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Writes `contents` to `path`, creating missing folders on the way.
void WriteFile(const std::string& path, const std::string& contents);
std::string ReadFile(const std::string& path);
// The source tree, for the bundled example data.
std::string SourceDir();

}  // namespace kestrel::testing
