#include "archive/interrupted_write.h"

#include <cctype>
#include <optional>
#include <string_view>

#include "archive/backup_zip.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

// The dot and the six characters zip writing adds for its temporary file.
constexpr size_t kSuffixLength = 7;

bool IsLetterOrDigit(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

bool HasTemporarySuffix(std::string_view name) {
  if (name.size() <= kSuffixLength) return false;
  std::string_view suffix = name.substr(name.size() - kSuffixLength);
  if (suffix[0] != '.') return false;
  for (char c : suffix.substr(1)) {
    if (!IsLetterOrDigit(c)) return false;
  }
  return true;
}

// The archive name a leftover stands beside: its name less the suffix.
std::optional<std::string> ArchiveNameOf(const std::string& name) {
  if (!HasTemporarySuffix(name)) return std::nullopt;
  std::string archive = name.substr(0, name.size() - kSuffixLength);
  if (!HasZipExtension(archive)) return std::nullopt;
  return archive;
}

// True when `path` itself is a complete zip. A killed write never got to
// its central directory, so such a file is no partial copy: it may be a
// user's own copy ("set.zip.backup") and is never removed. Only the
// structure counts here, so headers that disagree do not make it partial.
bool IsCompleteZip(FileSystem& fs, const std::string& path) {
  ZipEntryList members;
  return ReadZipDirectory(fs, path, members, false, nullptr);
}

}  // namespace

bool IsInterruptedWriteOf(const std::string& archiveName, const std::string& name) {
  std::optional<std::string> archive = ArchiveNameOf(name);
  return archive && EqualsNoCase(*archive, archiveName);
}

std::optional<InterruptedWrite> InterruptedWriteAt(FileSystem& fs, const std::string& path) {
  std::optional<std::string> archive = ArchiveNameOf(FileNamePart(path));
  if (!archive || IsCompleteZip(fs, path)) return std::nullopt;
  return InterruptedWrite{path, JoinPath(FolderPart(path), *archive)};
}

std::vector<InterruptedWrite> FindInterruptedWrites(FileSystem& fs, const std::string& folder) {
  std::vector<InterruptedWrite> found;
  for (const FolderEntry& entry : fs.ListFolder(folder)) {
    if (entry.isFolder) continue;
    if (std::optional<InterruptedWrite> leftover = InterruptedWriteAt(fs, JoinPath(folder, entry.name)))
      found.push_back(*leftover);
  }
  return found;
}

ClearedLeftover ClearInterruptedWrite(FileSystem& fs, const std::string& backupFolder,
                                      const InterruptedWrite& leftover) {
  ClearedLeftover cleared;
  if (fs.IsSymbolicLink(leftover.path) || !fs.FileExists(leftover.path)) return cleared;
  if (MoveIntoBackupFolder(fs, backupFolder, leftover.path, &cleared.movedTo)) {
    cleared.outcome = LeftoverOutcome::kMovedToBackup;
  }
  return cleared;
}

}  // namespace kestrel
