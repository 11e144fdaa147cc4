#include "merger/commit_family.h"

#include <cstdio>
#include <optional>

#include "archive/zip_reader.h"
#include "merger/backup_plan.h"
#include "merger/merge_paths.h"
#include "merger/read_content.h"
#include "platform/file_system.h"
#include "platform/listed_spelling.h"
#include "platform/paths.h"
#include "platform/set_files.h"

namespace kestrel {
namespace {

// What putting one new set in place takes away from its old set, found
// before anything moves.
struct Leaving {
  std::optional<std::string> zip;  // the old zip, renamed over or deleted
  std::optional<std::string> folder;
  std::vector<std::string> replacedFiles;  // old folder files a new file of the name replaces
  std::vector<std::string> deletedFiles;   // old folder files deleted (Clean Set)
};

std::optional<std::string> FindFile(MergeRun& run, const std::string& path) {
  std::optional<std::string> found = run.fs.FindPath(path);
  if (found && run.fs.FileExists(*found)) return found;
  return std::nullopt;
}

// Renames `from` over `to` in one step: `to` holds the old file or the new
// one at every moment, never neither.
bool RenameOver(MergeRun& run, const std::string& from, const std::string& to) {
  std::optional<std::string> source = run.fs.FindPath(from);
  return source && run.fs.ReplacePath(*source, to);
}

// What is read back of a new set: false when the zip does not read or a
// file cannot be read.
bool ReadBack(MergeRun& run, WorkSet& set) {
  set.content.clear();
  if (!set.newArchive.empty()) {
    ZipEntryList entries;
    if (!ReadZipDirectory(run.fs, set.newArchive, entries, false, nullptr, run.zipLibrary.headerCheck)) return false;
    for (const ZipEntry& entry : entries) set.content.insert(ContentOf(entry));
  }
  if (!set.newFolder.empty()) {
    for (const std::string& file : SetFolderFiles(run, set.newFolder)) {
      std::optional<Content> content = LooseFileContent(run, file);
      if (!content) return false;
      set.content.insert(*content);
    }
  }
  return true;
}

Leaving FindWhatLeaves(MergeRun& run, const WorkSet& set) {
  Leaving leaving;
  bool cleanSet = run.settings.mergeCleanSet;
  bool newZip = !set.newArchive.empty();
  bool newFolder = !set.newFolder.empty();
  // A set that collected nothing may be unreadable rather than gone: it
  // stays, unless its game has no ROM of its own in this layout.
  bool emptied = !newZip && !newFolder && cleanSet && set.holdsNoRom;
  bool replaced = newZip || newFolder || emptied;
  if (std::optional<std::string> zip = run.sets.FindZip(set.folder, set.setName);
      zip && (newZip || (cleanSet && replaced)))
    leaving.zip = zip;
  leaving.folder = run.sets.FindFolder(set.folder, set.setName);
  if (!leaving.folder) return leaving;
  for (const std::string& file : SetFolderFiles(run, *leaving.folder)) {
    if (newFolder && FindFile(run, JoinPath(set.newFolder, FileNamePart(file))))
      leaving.replacedFiles.push_back(file);
    else if (cleanSet && replaced)
      leaving.deletedFiles.push_back(file);
  }
  return leaving;
}

// What the old files of one step hold, as far as they can be read.
ContentSet ContentLeaving(MergeRun& run, const Leaving& leaving) {
  ContentSet content;
  if (leaving.zip) {
    if (const std::optional<ZipEntryList>& members = ListZip(run, *leaving.zip))
      for (const ZipEntry& member : *members) content.insert(ContentOf(member));
  }
  for (const auto* files : {&leaving.replacedFiles, &leaving.deletedFiles})
    for (const std::string& file : *files)
      if (std::optional<Content> found = LooseFileContent(run, file)) content.insert(*found);
  return content;
}

// Notes what the steps take away that is in place nowhere once the step is
// taken. In place are the new sets of the steps so far and the old sets of
// the steps to come: their content in turn is either in a new set by then
// or backed up. An old file replaced by a file of its name is checked
// before the step's own set counts: the new set's other files may not be
// in place yet.
void PlanBackups(MergeRun& run, const std::vector<WorkSet>& sets, const std::vector<Leaving>& leaving,
                 ContentSet inPlace, BackupPlan& plan) {
  std::vector<ContentSet> leavingLater(sets.size());
  for (size_t i = sets.size(); i-- > 1;) {
    leavingLater[i - 1] = leavingLater[i];
    leavingLater[i - 1].merge(ContentLeaving(run, leaving[i]));
  }
  for (size_t i = 0; i < sets.size(); ++i) {
    const WorkSet& set = sets[i];
    ContentSet kept = inPlace;
    kept.insert(leavingLater[i].begin(), leavingLater[i].end());
    for (const std::string& file : leaving[i].replacedFiles) {
      std::optional<Content> old = LooseFileContent(run, file);
      std::optional<Content> replacement = LooseFileContent(run, JoinPath(set.newFolder, FileNamePart(file)));
      if (!old || !replacement || *old != *replacement) NoteWhatLeaves(run, file, false, set.setName, kept, plan);
    }
    inPlace.insert(set.content.begin(), set.content.end());
    kept.insert(set.content.begin(), set.content.end());
    if (leaving[i].zip) NoteWhatLeaves(run, *leaving[i].zip, true, set.setName, kept, plan);
    for (const std::string& file : leaving[i].deletedFiles) NoteWhatLeaves(run, file, false, set.setName, kept, plan);
  }
}

bool DeleteFiles(MergeRun& run, const std::vector<std::string>& files) {
  bool deleted = true;
  for (const std::string& file : files) deleted = (run.fs.DeleteFile(file) || !run.fs.PathExists(file)) && deleted;
  return deleted;
}

// The new zip takes the old zip's place under the set's listed name. The
// old zip is renamed to that name first; a spelling that cannot be changed
// stays, the new set goes in its place all the same, and the scan tells of
// the spelling.
bool PlaceZip(MergeRun& run, const WorkSet& set) {
  TakeListedSpelling(run.fs, set.folder, ListedZipName(set.setName));
  std::string target = set.setPath + ".zip";
  std::optional<std::string> old = FindFile(run, target);
  return RenameOver(run, set.newArchive, old ? *old : target);
}

// The new files join the old folder one by one, each renamed over the old
// file of its name; a folder that is not there yet is the new folder itself.
// The old folder takes the listed name first, as the old zip does.
bool PlaceFolder(MergeRun& run, const WorkSet& set) {
  TakeListedSpelling(run.fs, set.folder, set.setName);
  std::optional<std::string> folder = run.fs.FindPath(set.setPath);
  if (!folder || !run.fs.FolderExists(*folder)) return run.fs.RenamePath(set.newFolder, set.setPath);
  for (const std::string& file : SetFolderFiles(run, set.newFolder)) {
    std::string name = FileNamePart(file);
    std::string target = JoinPath(*folder, name);
    std::optional<std::string> old = FindFile(run, target);
    if (!RenameOver(run, file, old ? *old : target)) return false;
    if (old && *old != target) run.fs.RenamePath(*old, target);
  }
  return true;
}

bool PlaceSet(MergeRun& run, const WorkSet& set, const Leaving& leaving) {
  if (!set.newArchive.empty() && !PlaceZip(run, set)) return false;
  if (!set.newFolder.empty() && !PlaceFolder(run, set)) return false;
  // An old zip moved whole into the backup folder is gone already.
  if (leaving.zip && set.newArchive.empty() && !DeleteFiles(run, {*leaving.zip})) return false;
  if (!DeleteFiles(run, leaving.deletedFiles)) return false;
  // Emptied by Clean Set; a folder inside it keeps it.
  if (leaving.folder && !leaving.deletedFiles.empty()) run.fs.RemoveFolder(*leaving.folder);
  return true;
}

// Deletes one old zip or folder of the family from another folder, when
// what it holds is in a new set or was backed up.
void RemoveOldSet(MergeRun& run, const std::string& path, bool isZip, const std::string& setName,
                  const ContentSet& inNewSets, MergeOutcome& outcome) {
  if (isZip && !ListZip(run, path)) {
    outcome.kept.push_back({path, "can't be read: left in place"});
    return;
  }
  std::vector<std::string> files = isZip ? std::vector<std::string>{path} : SetFolderFiles(run, path);
  BackupPlan plan;
  for (const std::string& file : files) NoteWhatLeaves(run, file, isZip, setName, inNewSets, plan);
  // An unreadable file stays where it is here: the set elsewhere is only a
  // copy the user no longer needs.
  if (!plan.wholeFiles.empty()) {
    outcome.kept.push_back({path, plan.firstItem + " is in no new set: left in place"});
    return;
  }
  std::vector<KeptFile> moved;
  if (std::string failure = MakeBackups(run, plan, moved); !failure.empty()) {
    outcome.kept.push_back({path, failure + ": left in place"});
    return;
  }
  DeleteFiles(run, files);
  if (!isZip) run.fs.RemoveFolder(path);
}

void RemoveOldSets(MergeRun& run, const std::vector<WorkSet>& sets, const std::vector<SetToRemove>& removeOld,
                   ContentSet inNewSets, MergeOutcome& outcome) {
  for (const WorkSet& set : sets) inNewSets.insert(set.content.begin(), set.content.end());
  for (const SetToRemove& old : removeOld) {
    for (const std::string& romPath : run.romPaths) {
      if (!old.keptIn.empty() && SameFolder(run.fs, romPath, old.keptIn)) continue;
      if (std::optional<std::string> zip = run.sets.FindZip(romPath, old.name))
        RemoveOldSet(run, *zip, true, old.name, inNewSets, outcome);
      if (std::optional<std::string> folder = run.sets.FindFolder(romPath, old.name))
        RemoveOldSet(run, *folder, false, old.name, inNewSets, outcome);
    }
  }
}

// The new set as the user will find it: its zip, or its folder.
std::string NewSetPath(const WorkSet& set) {
  return set.newArchive.empty() ? set.setPath + "/" : set.setPath + ".zip";
}

}  // namespace

std::string CommitFamily(MergeRun& run, std::vector<WorkSet>& sets, const FamilyCommit& family, MergeOutcome& outcome) {
  for (WorkSet& set : sets)
    if (!ReadBack(run, set)) return "the new '" + NewSetPath(set) + "' does not read back";
  std::vector<Leaving> leaving;
  for (const WorkSet& set : sets) leaving.push_back(FindWhatLeaves(run, set));
  ContentSet unchanged = ContentOfSets(run, family.unchangedSets, &outcome.unreadable);
  BackupPlan plan;
  PlanBackups(run, sets, leaving, unchanged, plan);
  if (std::string failure = MakeBackups(run, plan, outcome.kept); !failure.empty()) return failure;
  for (size_t i = 0; i < sets.size(); ++i)
    if (!PlaceSet(run, sets[i], leaving[i])) return "can't put the new '" + NewSetPath(sets[i]) + "' in place";
  RemoveOldSets(run, sets, family.removeOld, std::move(unchanged), outcome);
  return "";
}

}  // namespace kestrel
