#include "merger/finish_set.h"

#include <optional>
#include <unordered_set>
#include <utility>

#include "archive/zip_reader.h"
#include "merger/folder_tree.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

MessageStyle Question() { return {MessageButtons::kYesNo, MessageIcon::kExclamation}; }

bool UserStops(MergeRun& run, const char* text) {
  return ShowMessage(run.ui, text, kMergingErrorTitle, Question()) == kResultYes;
}

// The new zip of `set`: the collected files, loose ones deflated and members
// copied unchanged, and without Clean Set the old zip's other members.
StepResult ZipNewSet(MergeRun& run, WorkSet& set, bool& built) {
  ZipChanges changes;
  std::unordered_set<std::string> names;
  for (const CollectedFile& file : set.files) {
    const FileSource& source = file.sources.back();
    if (source.looseFile.empty()) {
      changes.copies.push_back({source.member.archivePath, source.member.storedName, file.name});
    } else {
      changes.additions.push_back({source.looseFile, file.name});
    }
    names.insert(file.name);
  }
  bool listed = true;
  std::optional<std::string> oldZip = run.sets.FindZip(set.folder, set.setName);
  if (!run.settings.mergeCleanSet && oldZip) {
    ZipEntryList entries;
    listed = ReadZipDirectory(*oldZip, entries, false, true);
    for (const ZipEntry& entry : entries)
      if (names.count(entry.storedName) == 0) changes.copies.push_back({*oldZip, entry.storedName, entry.storedName});
  }
  std::string archive = set.workFolder + "new.zip";
  run.Pump();
  // An old zip that cannot be read whole would lose members in the new one.
  if (listed && run.writeZip(run.zipLibrary, archive, changes)) {
    set.newArchive = archive;
    built = true;
    return StepResult::kContinue;
  }
  if (UserStops(run, "Error While Zipping !\n\nDo You Want To Stop Merging Process ?")) return StepResult::kStop;
  return StepResult::kContinue;
}

// Writes one file from its latest source that can be read. `failed` is set
// when a write failed and the user chose to go on: the set then lacks the
// file, while its old set may hold the only copy.
StepResult PlaceFile(MergeRun& run, const CollectedFile& file, const std::string& target, bool& failed) {
  for (auto source = file.sources.rbegin(); source != file.sources.rend(); ++source) {
    run.Pump();
    if (!source->looseFile.empty()) {
      if (CopyFile(source->looseFile, target, false)) return StepResult::kContinue;
      ShowMessage(run.ui, "Disk Is Full !\n\nMerging Process Stopped.", kMergingErrorTitle,
                  {MessageButtons::kOk, MessageIcon::kStop});
      return StepResult::kStop;
    }
    int writeFailed = 0;
    if (ExtractZipEntry(source->member, target, &writeFailed)) return StepResult::kContinue;
    if (writeFailed != 0) {
      if (UserStops(run, "Error While Unzipping !\n\nDo You Want To Stop Merger Process ?")) return StepResult::kStop;
      failed = true;
      return StepResult::kContinue;
    }
    // A damaged member counts as not found; an earlier find stands in.
  }
  return StepResult::kContinue;
}

StepResult ExtractNewSet(MergeRun& run, WorkSet& set, bool& built) {
  std::string folder = set.workFolder + "set/";
  if (!CreateFolder(folder)) {
    ShowMessage(run.ui, "Disk Is Full !\n\nMerging Process Stopped.", kMergingErrorTitle,
                {MessageButtons::kOk, MessageIcon::kStop});
    return StepResult::kStop;
  }
  bool failed = false;
  for (const CollectedFile& file : set.files) {
    if (PlaceFile(run, file, folder + file.name, failed) == StepResult::kStop) return StepResult::kStop;
  }
  // A set missing a file that could not be written is not put in place.
  if (failed) return StepResult::kContinue;
  set.newFolder = folder;
  built = true;
  return StepResult::kContinue;
}

// The renames of one commit, so that they can be taken back.
class Journal {
 public:
  bool Move(const std::string& from, const std::string& to) {
    std::optional<std::string> real = FindPath(from);
    if (!real || !RenamePath(*real, to)) return false;
    moves_.emplace_back(ResolvePath(to), *real);
    return true;
  }
  // Moves the zip or folder at `path`, when there is one, to `aside`.
  bool MoveAside(const std::optional<std::string>& path, const std::string& aside) {
    return !path || Move(*path, aside);
  }
  bool Create(const std::string& folder) {
    if (!CreateFolder(folder)) return false;
    created_.push_back(folder);
    return true;
  }
  // False when something could not be moved back: it is still in a work
  // folder, which must then stay.
  bool Undo() {
    bool complete = true;
    for (auto move = moves_.rbegin(); move != moves_.rend(); ++move)
      complete = RenamePath(move->first, move->second) && complete;
    for (auto folder = created_.rbegin(); folder != created_.rend(); ++folder) RemoveFolder(*folder);
    moves_.clear();
    created_.clear();
    return complete;
  }

 private:
  std::vector<std::pair<std::string, std::string>> moves_;  // (where it went, where it was)
  std::vector<std::string> created_;
};

// Without Clean Set, new loose files join the old folder one by one; a file
// they replace goes into the work folder.
bool MergeIntoFolder(const WorkSet& set, const std::optional<std::string>& oldFolder, Journal& journal) {
  if (!oldFolder && !journal.Create(set.setPath)) return false;
  std::string folder = oldFolder ? *oldFolder : set.setPath;
  std::string aside = set.workFolder + "old/";
  if (!journal.Create(aside)) return false;
  for (const FolderEntry& entry : ListFolder(set.newFolder)) {
    std::string target = JoinPath(folder, entry.name);
    std::optional<std::string> old = FindPath(target);
    if (old && !FileExists(*old)) return false;
    if (!journal.MoveAside(old, aside + entry.name)) return false;
    if (!journal.Move(set.newFolder + entry.name, target)) return false;
  }
  return true;
}

bool CommitSet(SetLocator& locator, const WorkSet& set, bool cleanSet, Journal& journal) {
  std::optional<std::string> zip = locator.FindZip(set.folder, set.setName);
  std::optional<std::string> folder = locator.FindFolder(set.folder, set.setName);
  std::string oldZip = set.workFolder + "old.zip";
  std::string oldFolder = set.workFolder + "old";
  if (!set.newArchive.empty()) {
    if (!journal.MoveAside(zip, oldZip)) return false;
    if (cleanSet && !journal.MoveAside(folder, oldFolder)) return false;
    return journal.Move(set.newArchive, set.setPath + ".zip");
  }
  if (set.newFolder.empty()) {
    // A set found nowhere may be unreadable rather than gone: it stays. One
    // the layout leaves empty holds only files that do not belong.
    if (!cleanSet || !set.holdsNoRom) return true;
    return journal.MoveAside(zip, oldZip) && journal.MoveAside(folder, oldFolder);
  }
  if (!cleanSet) return MergeIntoFolder(set, folder, journal);
  return journal.MoveAside(zip, oldZip) && journal.MoveAside(folder, oldFolder) &&
         journal.Move(set.newFolder, set.setPath);
}

}  // namespace

StepResult FinishSet(MergeRun& run, WorkSet& set, bool& built) {
  built = false;
  if (set.files.empty()) {
    built = true;
    return StepResult::kContinue;
  }
  return run.settings.mergeZip ? ZipNewSet(run, set, built) : ExtractNewSet(run, set, built);
}

bool CommitSets(SetLocator& locator, std::vector<WorkSet>& sets, bool cleanSet) {
  Journal journal;
  for (const WorkSet& set : sets) {
    if (!CommitSet(locator, set, cleanSet, journal)) {
      if (!journal.Undo())
        for (WorkSet& kept : sets) kept.keepWorkFolder = true;
      return false;
    }
  }
  return true;
}

void DiscardWorkSets(std::vector<WorkSet>& sets) {
  for (const WorkSet& set : sets)
    if (!set.keepWorkFolder) RemoveFolderTree(set.workFolder);
}

}  // namespace kestrel
