#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kestrel::testing {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kestrel-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern + "/";
}

TempFolder::~TempFolder() {
  std::error_code error;
  // Read-only files left by a test must not keep the folder alive.
  for (auto& entry : std::filesystem::recursive_directory_iterator(path_, error))
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
  std::filesystem::remove_all(path_, error);
}

void WriteFile(const std::string& path, const std::string& contents) {
  std::filesystem::path file(path);
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string SourceDir() {
  const char* dir = std::getenv("KESTREL_SOURCE_DIR");
  return dir != nullptr ? std::string(dir) + "/" : std::string(KESTREL_SOURCE_DIR_DEFAULT) + "/";
}

}  // namespace kestrel::testing
