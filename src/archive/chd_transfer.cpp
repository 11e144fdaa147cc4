#include "archive/chd_transfer.h"

#include <optional>

#include "archive/chd_header.h"
#include "platform/text.h"

namespace kestrel {
namespace {

// A copy is the disk only when its header gives the SHA-1 and its length
// the original's: the header alone would pass a copy cut short in its data.
bool ReadsBackAs(FileSystem& fs, const std::string& path, const Sha1Digest& sha1, uint64_t size) {
  ChdHeader header = ReadChdHeader(fs, path);
  return header.status == ChdHeaderStatus::kGood && header.sha1 == sha1 && fs.FileSize(path) == size;
}

bool CopyVerified(FileSystem& fs, const std::string& from, const std::string& to, const Sha1Digest& sha1,
                  bool syncToDisk) {
  std::optional<uint64_t> size = fs.FileSize(from);
  if (!size || !fs.CopyFile(from, to, true, syncToDisk)) return false;
  if (ReadsBackAs(fs, to, sha1, *size)) return true;
  fs.DeleteFile(to);  // the run's own bad copy, never the user's content
  return false;
}

}  // namespace

bool HasChdExtension(std::string_view name) { return HasSuffixNoCase(name, ".chd"); }

bool TransferChd(FileSystem& fs, const std::string& from, const std::string& to, const Sha1Digest& sha1,
                 ChdTransfer how, bool* originalLeft) {
  if (originalLeft != nullptr) *originalLeft = false;
  if (fs.PathExists(to)) return false;
  if (how == ChdTransfer::kMove && fs.RenamePath(from, to)) return true;
  if (!CopyVerified(fs, from, to, sha1, how == ChdTransfer::kMove)) return false;
  if (how == ChdTransfer::kCopy) return true;
  if (fs.IsReadOnly(from)) fs.ClearReadOnly(from);
  bool removed = fs.DeleteFile(from);
  if (originalLeft != nullptr) *originalLeft = !removed;
  return true;
}

}  // namespace kestrel
