#include "rebuilder/leftovers.h"

#include <cctype>
#include <string_view>

#include "archive/interrupted_write.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "rebuilder/rebuild_messages.h"

namespace kestrel {
namespace {

constexpr std::string_view kWorkFolderPrefix = "kestrel-rebuild-";
// Temporary files of a whole-file copy: ".kestrel-<process>-<n>.tmp".
constexpr std::string_view kCopyPrefix = ".kestrel-";
constexpr std::string_view kCopySuffix = ".tmp";

// The process number that follows `prefix` in `name`, up to the first
// character that is not a digit; 0 when there is none.
int ProcessIdAfter(std::string_view name, std::string_view prefix) {
  if (name.substr(0, prefix.size()) != prefix) return 0;
  int id = 0;
  for (char c : name.substr(prefix.size())) {
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    if (id > 100000000) return 0;
    id = id * 10 + (c - '0');
  }
  return id;
}

// Our own process counts as gone: one process runs one rebuild at a time,
// so a folder of its number can only be older than this run.
bool IsLeftOverBy(int processId) {
  return processId > 0 && (processId == CurrentProcessId() || !IsProcessRunning(processId));
}

bool IsInterruptedCopy(const std::string& name) {
  bool shaped = name.size() > kCopyPrefix.size() + kCopySuffix.size() &&
                std::string_view(name).substr(name.size() - kCopySuffix.size()) == kCopySuffix;
  return shaped && IsLeftOverBy(ProcessIdAfter(name, kCopyPrefix));
}

}  // namespace

// A work folder holds only copies of zip members: anything else in it is
// not ours to remove.
bool RemoveWorkFolder(FileSystem& fs, const std::string& folder) {
  for (const FolderEntry& entry : fs.ListFolder(folder)) {
    if (entry.isFolder) return false;
  }
  for (const FolderEntry& entry : fs.ListFolder(folder)) fs.DeleteFile(folder + entry.name);
  return fs.RemoveFolder(folder);
}

namespace {

void RemoveWorkFolders(FileSystem& fs, const std::string& tempParent, std::vector<std::string>& removed) {
  for (const FolderEntry& entry : fs.ListFolder(tempParent)) {
    if (!entry.isFolder || !IsLeftOverBy(ProcessIdAfter(entry.name, kWorkFolderPrefix))) continue;
    std::string folder = tempParent + entry.name + "/";
    if (RemoveWorkFolder(fs, folder)) removed.push_back(folder);
  }
}

void RemoveInterruptedCopies(FileSystem& fs, const std::string& folder, std::vector<std::string>& removed) {
  for (const FolderEntry& entry : fs.ListFolder(folder)) {
    if (!entry.isFolder && IsInterruptedCopy(entry.name) && fs.DeleteFile(folder + entry.name))
      removed.push_back(folder + entry.name);
  }
}

void ClearZipWrite(FileSystem& fs, const InterruptedWrite& leftover, const std::string& backupFolder,
                   LeftoverReport& report) {
  ClearedLeftover cleared = ClearInterruptedWrite(fs, backupFolder, leftover);
  if (cleared.outcome == LeftoverOutcome::kKept) {
    report.kept.push_back({leftover.path, rebuild_text::kLeftoverKept});
  } else {
    report.cleared.push_back({leftover.path, cleared.movedTo});
  }
}

}  // namespace

std::string WorkFolderName(const std::string& parent) {
  return WithTrailingSeparator(parent) + std::string(kWorkFolderPrefix) + std::to_string(CurrentProcessId()) + "/";
}

void ClearLeftovers(FileSystem& fs, const std::string& tempParent, const std::string& destination,
                    const std::string& backupFolder, LeftoverReport& report) {
  std::vector<std::string> removed;
  if (!tempParent.empty()) RemoveWorkFolders(fs, WithTrailingSeparator(tempParent), removed);
  for (const FolderEntry& entry : fs.ListFolder(destination)) {
    if (entry.isFolder) RemoveInterruptedCopies(fs, destination + entry.name + "/", removed);
  }
  RemoveInterruptedCopies(fs, destination, removed);
  for (const std::string& path : removed) report.cleared.push_back({path, ""});
  for (const InterruptedWrite& leftover : FindInterruptedWrites(fs, destination))
    ClearZipWrite(fs, leftover, backupFolder, report);
}

bool ClearSourceLeftover(FileSystem& fs, const std::string& path, const std::string& backupFolder,
                         LeftoverReport& report) {
  std::optional<InterruptedWrite> leftover = InterruptedWriteAt(fs, path);
  if (!leftover || !fs.FileExists(leftover->archivePath)) return false;
  ClearZipWrite(fs, *leftover, backupFolder, report);
  return true;
}

}  // namespace kestrel
