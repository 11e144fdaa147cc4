#include "merger/finish_set.h"

#include <optional>
#include <unordered_set>

#include "archive/folder_tree.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

MessageStyle Question() { return {MessageButtons::kYesNo, MessageIcon::kExclamation}; }

bool UserStops(MergeRun& run, const char* text) {
  return ShowMessage(run.ui, text, kMergingErrorTitle, Question()) == kResultYes;
}

// The new zip of `set`: the collected files, loose ones deflated and members
// copied unchanged, and without Clean Set the old zip's other members.
StepResult ZipNewSet(MergeRun& run, WorkSet& set, std::string& failure) {
  ZipChanges changes;
  // By lowered name: an old member under another spelling of a new file's
  // name is that file, and a second spelling of it would be a twin.
  std::unordered_set<std::string> names;
  for (const CollectedFile& file : set.files) {
    const FileSource& source = file.sources.back();
    if (source.looseFile.empty()) {
      changes.copies.push_back({source.member.archivePath, source.member.storedName, file.name});
    } else {
      changes.additions.push_back({source.looseFile, file.name});
    }
    names.insert(ToLowerAscii(file.name));
  }
  bool listed = true;
  std::optional<std::string> oldZip = run.sets.FindZip(set.folder, set.setName);
  if (!run.settings.mergeCleanSet && oldZip) {
    ZipEntryList entries;
    ZipProblem problem;
    listed = ReadZipDirectory(run.fs, *oldZip, entries, false, &problem, run.zipLibrary.headerCheck);
    run.zipProblems.Tell(run.ui, problem);
    for (const ZipEntry& entry : entries)
      if (names.count(ToLowerAscii(entry.storedName)) == 0)
        changes.copies.push_back({*oldZip, entry.storedName, entry.storedName});
  }
  std::string archive = set.workFolder + "new.zip";
  run.Pump();
  // An old zip that cannot be read whole would lose members in the new one.
  if (listed && ZipUpdate(run.fs, run.zipLibrary, archive, changes)) {
    set.newArchive = archive;
    return StepResult::kContinue;
  }
  failure = listed
                ? "can't write the new '" + set.setPath + ".zip': the disk may be full, or a zip it copies from damaged"
                : "can't read '" + *oldZip + "', whose other files the new set would keep";
  if (UserStops(run, "Error While Zipping !\n\nDo You Want To Stop Merging Process ?")) return StepResult::kStop;
  return StepResult::kContinue;
}

// Writes one file from its latest source that can be read. `failed` is set
// when a write failed: the set then lacks the file, while its old set may
// hold the only copy.
StepResult PlaceFile(MergeRun& run, const CollectedFile& file, const std::string& target, bool& failed) {
  for (auto source = file.sources.rbegin(); source != file.sources.rend(); ++source) {
    run.Pump();
    if (!source->looseFile.empty()) {
      if (run.fs.CopyFile(source->looseFile, target, false)) return StepResult::kContinue;
      failed = true;
      ShowMessage(run.ui, "Disk Is Full !\n\nMerging Process Stopped.", kMergingErrorTitle,
                  {MessageButtons::kOk, MessageIcon::kStop});
      return StepResult::kStop;
    }
    int writeFailed = 0;
    ZipProblem problem;
    if (ExtractZipEntry(run.fs, source->member, target, &writeFailed, &problem)) return StepResult::kContinue;
    run.zipProblems.Tell(run.ui, problem);
    if (writeFailed != 0) {
      failed = true;
      if (UserStops(run, "Error While Unzipping !\n\nDo You Want To Stop Merger Process ?")) return StepResult::kStop;
      return StepResult::kContinue;
    }
    // A damaged member counts as not found; an earlier find stands in.
  }
  return StepResult::kContinue;
}

StepResult ExtractNewSet(MergeRun& run, WorkSet& set, std::string& failure) {
  std::string folder = set.workFolder + "set/";
  if (!run.fs.CreateFolder(folder)) {
    failure = "can't create '" + folder + "'";
    ShowMessage(run.ui, "Disk Is Full !\n\nMerging Process Stopped.", kMergingErrorTitle,
                {MessageButtons::kOk, MessageIcon::kStop});
    return StepResult::kStop;
  }
  for (const CollectedFile& file : set.files) {
    bool failed = false;
    StepResult result = PlaceFile(run, file, folder + file.name, failed);
    // A set missing a file that could not be written is not put in place.
    if (failed) failure = "can't write '" + file.name + "' of the new set '" + set.setPath + "'";
    if (failed || result == StepResult::kStop) return result;
  }
  set.newFolder = folder;
  return StepResult::kContinue;
}

}  // namespace

StepResult FinishSet(MergeRun& run, WorkSet& set, std::string& failure) {
  failure.clear();
  if (set.files.empty()) return StepResult::kContinue;
  return run.settings.mergeZip ? ZipNewSet(run, set, failure) : ExtractNewSet(run, set, failure);
}

void DiscardWorkSets(MergeRun& run, const std::vector<WorkSet>& sets) {
  for (const WorkSet& set : sets)
    if (run.fs.PathExists(set.workFolder)) DeleteFolderTree(run.fs, set.workFolder);
}

}  // namespace kestrel
