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
  return WriteOutputFile(what, path, [&text](const PieceWriter& write) { return write(text); });
}

bool WriteOutputFile(const char* what, const std::string& path, const std::function<bool(const PieceWriter&)>& produce) {
  // Pieces are gathered up to this size before they reach the disk: a
  // report's records are short, and a write per record would be slow.
  constexpr size_t kBufferSize = 1 << 20;
  FileReplacement file;
  std::string buffer;
  auto flush = [&] {
    bool written = file.Write(buffer.data(), buffer.size());
    buffer.clear();
    return written;
  };
  auto write = [&](std::string_view piece) {
    if (buffer.size() + piece.size() < kBufferSize) return buffer += piece, true;
    return flush() && file.Write(piece.data(), piece.size());
  };
  if (file.Create(AbsolutePath(path)) && produce(write) && flush() && file.Close() && file.Commit()) {
    std::fprintf(stderr, "%s written: %s\n", what, path.c_str());
    return true;
  }
  std::fprintf(stderr, "%s not written: %s could not be replaced\n", what, path.c_str());
  return false;
}

}  // namespace kestrel
