#include "acquire/data_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

std::string UserDataFolder() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  // A relative XDG_DATA_HOME is invalid and must be ignored.
  if (dataHome != nullptr && dataHome[0] == '/') return JoinPath(dataHome, "kestrel/");
  const char* home = std::getenv("HOME");
  std::string base = home != nullptr && home[0] != '\0' ? home : TempFolder();
  return JoinPath(base, ".local/share/kestrel/");
}

// A program installed into a bin/ folder, even a writable one (root's
// /usr/bin, a user's own prefix), must not fill it with data files.
bool IsInstalledProgramFolder(const std::string& folder) {
  std::string name = WithTrailingSeparator(folder);
  name.pop_back();
  return name == "bin" || name.ends_with("/bin");
}

}  // namespace

std::string DefaultDataFolder() {
  std::string programFolder = ProgramFolder();
  if (!programFolder.empty() && !IsInstalledProgramFolder(programFolder) && IsWritableFolder(programFolder))
    return WithTrailingSeparator(programFolder);
  std::string folder = UserDataFolder();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return folder;
}

}  // namespace kestrel
