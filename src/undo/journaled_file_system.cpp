#include "undo/journaled_file_system.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "platform/paths.h"
#include "undo/run_history.h"
#include "undo/undo_store.h"

namespace kestrel {
namespace {

std::string WithoutTrailingSlashes(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  return std::string(path);
}

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}


bool MakesWritable(const Journal& journal) {
  for (const JournalEntry& entry : journal.entries)
    if (entry.action == JournalAction::kMakeWritable) return true;
  return false;
}

}  // namespace

std::string UndoFolder(const std::string& dataFolder) { return WithTrailingSeparator(dataFolder) + "undo/"; }

JournaledFileSystem::JournaledFileSystem(FileSystem& disk, std::string undoFolder, std::string command)
    : disk_(disk), undoFolder_(WithTrailingSeparator(undoFolder)), command_(std::move(command)) {}

// A run whose changes all cancel out (work folders and temporary files
// made and removed again) leaves nothing to undo, and no run to list.
bool JournaledFileSystem::Finish() {
  std::lock_guard lock(mutex_);
  if (runFolder_.empty()) return true;
  if (!journal_.AppendMark("end")) return false;
  std::optional<Journal> journal = ReadJournal(runFolder_ + "journal");
  if (journal && DescribeRun(*journal).empty() && !MakesWritable(*journal)) {
    std::error_code error;
    std::filesystem::remove_all(runFolder_, error);
  }
  return true;
}

std::string JournaledFileSystem::RunFolder() {
  std::lock_guard lock(mutex_);
  return runFolder_;
}

// Runs are numbered from 1 on; of two runs started at once, the one that
// makes the folder first gets the number.
bool JournaledFileSystem::OpenRun() {
  if (broken_) return false;
  std::error_code error;
  std::filesystem::create_directories(undoFolder_, error);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string folder = undoFolder_ + std::to_string(NextRunNumber(undoFolder_) + attempt) + "/";
    if (::mkdir(folder.c_str(), 0777) != 0) {
      if (errno == EEXIST) continue;
      break;
    }
    if (::mkdir((folder + "store").c_str(), 0777) != 0 || !journal_.Create(folder + "journal", command_)) break;
    runFolder_ = folder;
    return true;
  }
  broken_ = true;
  return false;
}

// A change of a file's content or place waits for its line to reach the
// disk. A folder made or removed holds no content, and the merger makes and
// removes a work folder per family: those lines go to the disk with the
// next synced one (undo makes a missing folder again where it puts a file
// back).
bool JournaledFileSystem::Record(const JournalEntry& entry) {
  std::lock_guard lock(mutex_);
  if (runFolder_.empty() && !OpenRun()) return false;
  const bool movesContent = entry.action != JournalAction::kCreateFolder &&
                            entry.action != JournalAction::kRemoveFolder &&
                            entry.action != JournalAction::kMakeWritable;
  return journal_.Append(entry, movesContent);
}

bool JournaledFileSystem::SaveOldContent(const std::string& path, JournalEntry& entry) {
  {
    std::lock_guard lock(mutex_);
    if (runFolder_.empty() && !OpenRun()) return false;
  }
  const bool link = IsLink(path);
  if (!link && !(entry.oldContent = IdentifyFile(disk_, path))) return false;  // unreadable: never lost
  entry.saved = "store/" + std::to_string(++saved_);
  return SaveContent(disk_, path, RunFolder() + entry.saved, entry.oldContent);
}

std::unique_ptr<WritableFile> JournaledFileSystem::CreateNewFile(std::string_view path) {
  const std::string name(path);
  // An existing file makes the creation fail; it must not be journaled as
  // the run's, or an undo would take it away.
  if (EntryExists(name)) return disk_.CreateNewFile(path);
  if (!Record({JournalAction::kCreate, name, "", std::nullopt, "", std::nullopt})) return nullptr;
  return disk_.CreateNewFile(path);
}

bool JournaledFileSystem::ReplacePath(std::string_view from, std::string_view to) {
  JournalEntry entry{JournalAction::kReplace, std::string(from), std::string(to), std::nullopt, "", std::nullopt};
  if (IsRegularFile(entry.path) && !(entry.newContent = IdentifyFile(disk_, entry.path))) return false;
  if (EntryExists(entry.target) && !SaveOldContent(entry.target, entry)) return false;
  return Record(entry) && disk_.ReplacePath(from, to);
}

// The paths as the disk's rename finds them: the source without case, the
// target in a folder found without case, under the name as given.
bool JournaledFileSystem::RenamePath(std::string_view from, std::string_view to) {
  std::optional<std::string> source = disk_.FindPath(from);
  if (!source) return disk_.RenamePath(from, to);
  const std::string target = WithoutTrailingSlashes(FolderPart(disk_.ResolvePath(to)) +
                                                    FileNamePart(WithoutTrailingSlashes(to)));
  JournalEntry entry{JournalAction::kRename, WithoutTrailingSlashes(*source), target, std::nullopt, "", std::nullopt};
  if (IsRegularFile(entry.path) && !(entry.newContent = IdentifyFile(disk_, entry.path))) return false;
  return Record(entry) && disk_.RenamePath(from, to);
}

bool JournaledFileSystem::DeleteFile(std::string_view path) {
  std::optional<std::string> real = disk_.FindPath(path);
  if (!real) return disk_.DeleteFile(path);
  JournalEntry entry{JournalAction::kDelete, *real, "", std::nullopt, "", std::nullopt};
  return SaveOldContent(*real, entry) && Record(entry) && disk_.DeleteFile(path);
}

bool JournaledFileSystem::CreateFolder(std::string_view path) {
  if (disk_.FolderExists(path)) return disk_.CreateFolder(path);
  const std::string folder = WithoutTrailingSlashes(disk_.ResolvePath(WithoutTrailingSlashes(path)));
  return Record({JournalAction::kCreateFolder, folder, "", std::nullopt, "", std::nullopt}) &&
         disk_.CreateFolder(path);
}

bool JournaledFileSystem::RemoveFolder(std::string_view path) {
  std::optional<std::string> real = disk_.FindPath(path);
  if (!real) return disk_.RemoveFolder(path);
  return Record({JournalAction::kRemoveFolder, WithoutTrailingSlashes(*real), "", std::nullopt, "", std::nullopt}) &&
         disk_.RemoveFolder(path);
}

// The name is chosen here rather than by the disk, so that the folder is
// on record before it exists.
std::string JournaledFileSystem::CreateUniqueFolder(std::string_view parent) {
  std::optional<std::string> real = disk_.FindPath(parent);
  if (!real) return "";
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device seed;
  std::mt19937 pick(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string folder = WithTrailingSeparator(*real) + "kestrel-";
    for (int i = 0; i < 6; ++i) folder += kLetters[pick() % (sizeof kLetters - 1)];
    if (EntryExists(folder)) continue;
    if (!Record({JournalAction::kCreateFolder, folder, "", std::nullopt, "", std::nullopt})) return "";
    if (disk_.CreateFolder(folder)) return folder + "/";
  }
  return "";
}

bool JournaledFileSystem::ClearReadOnly(std::string_view path) {
  std::optional<std::string> real = disk_.FindPath(path);
  if (real && disk_.IsReadOnly(*real) &&
      !Record({JournalAction::kMakeWritable, *real, "", std::nullopt, "", std::nullopt}))
    return false;
  return disk_.ClearReadOnly(path);
}

}  // namespace kestrel
