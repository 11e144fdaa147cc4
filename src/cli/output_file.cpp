#include "cli/output_file.h"

#include <cstdio>

#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

// Why `path` cannot take a new file; empty when it can.
std::string UnwritableReason(const std::string& path) {
  if (FolderExists(path)) return "is a folder";
  // A read-only file is the user's way of keeping it.
  if (FileExists(path) && IsReadOnly(path)) return "is read-only";
  const std::string folder = FolderPart(AbsolutePath(path));
  if (!folder.empty() && !FolderExists(folder)) return "is in a folder that does not exist";
  return {};
}

}  // namespace

bool CheckOutputFile(const char* option, const std::string& path) {
  const std::string reason = UnwritableReason(path);
  if (reason.empty()) return true;
  std::fprintf(stderr, "%s %s %s\n", option, path.c_str(), reason.c_str());
  return false;
}

bool WriteOutputFile(const char* what, const std::string& path, const std::string& text) {
  if (ReplaceFile(AbsolutePath(path), text)) {
    std::fprintf(stderr, "%s written: %s\n", what, path.c_str());
    return true;
  }
  std::fprintf(stderr, "%s not written: %s could not be replaced\n", what, path.c_str());
  return false;
}

}  // namespace kestrel
