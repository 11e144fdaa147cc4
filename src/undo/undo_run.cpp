#include "undo/undo_run.h"

#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "platform/paths.h"
#include "undo/journal.h"
#include "undo/undo_store.h"

namespace kestrel {
namespace {

// One run being reverted: where its store is, and what happened so far.
class Reverter {
 public:
  Reverter(FileSystem& fs, std::string runFolder, const Journal& journal, UndoOutcome& outcome)
      : fs_(fs), runFolder_(std::move(runFolder)), outcome_(outcome) {
    std::set<std::string> madeFolders;
    for (const JournalEntry& entry : journal.entries) {
      if (entry.action == JournalAction::kCreate) runFiles_.insert(entry.path);
      if (entry.action == JournalAction::kCreateFolder) madeFolders.insert(entry.path);
      if (entry.action == JournalAction::kRemoveFolder && madeFolders.count(entry.path))
        workFolders_.push_back(entry.path + "/");
    }
  }

  void Revert(const JournalEntry& entry) {
    switch (entry.action) {
      case JournalAction::kCreate: return RevertCreate(entry);
      case JournalAction::kReplace: return RevertReplace(entry);
      case JournalAction::kRename: return RevertRename(entry);
      case JournalAction::kDelete: return Restore(entry.path, entry);
      case JournalAction::kCreateFolder: return RevertCreateFolder(entry);
      case JournalAction::kRemoveFolder: return RevertRemoveFolder(entry);
      case JournalAction::kMakeWritable: return RevertMakeWritable(entry);
    }
  }

 private:
  std::optional<ContentIdentity> IdentityAt(const std::string& path) {
    return IsLink(path) ? std::nullopt : IdentifyFile(fs_, path);
  }

  bool Fail(const std::string& path, const std::string& reason) {
    outcome_.failures.push_back({path, reason});
    return false;
  }

  // A new member of the store, for a content taken out of the collection.
  std::string NewStoreMember(const std::string& kind) {
    std::string member;
    do member = runFolder_ + "store/" + kind + "-" + std::to_string(++taken_);
    while (EntryExists(member));
    return member;
  }

  // A file the run created, or anything in a work folder it made and removed.
  bool IsRunOwn(const std::string& path) const {
    if (runFiles_.count(path)) return true;
    for (const std::string& folder : workFolders_)
      if (path + "/" == folder || path.rfind(folder, 0) == 0) return true;
    return false;
  }

  // A step on a file the run wrote under a temporary name is not worth a
  // line: only what the user's files go through is.
  void Done(const std::string& what, const std::string& path) {
    if (!IsRunOwn(path)) outcome_.done.push_back(what + path);
  }

  // Moves what the run made at `path` into the store.
  bool TakeAway(const std::string& path, const std::optional<ContentIdentity>& identity) {
    if (!MoveContent(fs_, path, NewStoreMember("made"), identity)) return Fail(path, "it could not be moved away");
    return true;
  }

  // Keeps a change made to `path` since the run, out of the way.
  bool SetAside(const std::string& path) {
    std::string member = NewStoreMember("changed");
    if (!MoveContent(fs_, path, member, IdentityAt(path)))
      return Fail(path, "it changed since the run and could not be set aside");
    outcome_.setAside.push_back({path, "changed since the run, kept as '" + member + "'"});
    return true;
  }

  // Puts the old content the entry saved back at `path`, where it must be
  // missing or hold a change made since (which is set aside first).
  void Restore(const std::string& path, const JournalEntry& entry) {
    if (EntryExists(path)) {
      if (entry.oldContent && IdentityAt(path) == entry.oldContent) return;  // never changed
      if (!SetAside(path)) return;
    }
    if (entry.saved.empty()) return;
    const std::string member = runFolder_ + entry.saved;
    if (!IsLink(member) && IdentityAt(member) != entry.oldContent) {
      Fail(path, "its saved content in '" + member + "' is missing or damaged");
      return;
    }
    std::error_code error;
    std::filesystem::create_directories(FolderPart(path), error);  // its removal's line may be lost with the power
    if (!MoveContent(fs_, member, path, entry.oldContent)) {
      Fail(path, "its saved content could not be put back");
      return;
    }
    Done("restored ", path);
  }

  // A file the run wrote and never moved on: its temporary file, or one
  // left by a stop. It holds nothing of the collection's.
  void RevertCreate(const JournalEntry& entry) {
    if (EntryExists(entry.path) && TakeAway(entry.path, IdentityAt(entry.path)))
      outcome_.done.push_back("removed " + entry.path + ", left by a stopped run");
  }

  // The run's file leaves (back where it came from when the run did not
  // write it), then the old one returns.
  void RevertReplace(const JournalEntry& entry) {
    if (EntryExists(entry.target)) {
      std::optional<ContentIdentity> now = IdentityAt(entry.target);
      const bool neverMoved = entry.oldContent && now == entry.oldContent && EntryExists(entry.path);
      if (neverMoved) return;
      if (now && now == entry.newContent) {
        const bool moveBack = !runFiles_.count(entry.path) && !EntryExists(entry.path);
        if (moveBack ? !MoveContent(fs_, entry.target, entry.path, now) : !TakeAway(entry.target, now)) return;
        if (!entry.oldContent) Done(moveBack ? "moved back " : "removed ", entry.target);
      } else if (!SetAside(entry.target)) {
        return;
      }
    }
    if (entry.oldContent) Restore(entry.target, entry);
  }

  void RevertRename(const JournalEntry& entry) {
    const bool atTarget = EntryExists(entry.target), atSource = EntryExists(entry.path);
    if (!atTarget && atSource) return;  // never renamed
    if (!atTarget) return (void)Fail(entry.target, "it is gone since the run");
    if (atSource) return (void)Fail(entry.path, "it exists again, so '" + entry.target + "' cannot be renamed back");
    const bool changed = entry.newContent && IdentityAt(entry.target) != entry.newContent;
    if (!fs_.ReplacePath(entry.target, entry.path)) return (void)Fail(entry.target, "it could not be renamed back");
    if (changed)
      outcome_.setAside.push_back({entry.path, "changed since the run; renamed back with its changes"});
    else
      outcome_.done.push_back("renamed " + entry.target + " -> " + entry.path);
  }

  void RevertCreateFolder(const JournalEntry& entry) {
    if (!EntryExists(entry.path)) return;
    if (!fs_.RemoveFolder(entry.path)) return (void)Fail(entry.path, "the folder holds files made since the run");
    Done("removed folder ", entry.path);
  }

  void RevertRemoveFolder(const JournalEntry& entry) {
    if (EntryExists(entry.path)) return;
    if (!fs_.CreateFolder(entry.path)) return (void)Fail(entry.path, "the folder could not be made again");
    Done("made folder ", entry.path);
  }

  void RevertMakeWritable(const JournalEntry& entry) {
    struct stat info;
    if (::lstat(entry.path.c_str(), &info) != 0) return;
    ::chmod(entry.path.c_str(), info.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH));
  }

  FileSystem& fs_;
  std::string runFolder_;
  UndoOutcome& outcome_;
  int taken_ = 0;
  std::set<std::string> runFiles_;  // files the run created: its temporary files
  std::vector<std::string> workFolders_;  // folders the run made and removed, with a trailing '/'
};

}  // namespace

UndoOutcome UndoRun(FileSystem& fs, const std::string& runFolder) {
  UndoOutcome outcome;
  const std::string folder = WithTrailingSeparator(runFolder);
  JournalWriter writer;
  if (!writer.OpenToAppend(folder + "journal")) {
    outcome.refused = true;
    outcome.refusal = "The run in '" + folder + "' cannot be undone now: its journal cannot be opened, or the run " +
                      "is still going on, or another undo of it is";
    return outcome;
  }
  std::optional<Journal> journal = ReadJournal(folder + "journal");
  if (!journal) {
    outcome.refused = true;
    outcome.refusal = "No undo journal can be read in '" + folder + "'";
    return outcome;
  }
  if (journal->undone) {
    outcome.refused = true;
    outcome.refusal = "The run in '" + folder + "' was undone already";
    return outcome;
  }
  Reverter reverter(fs, folder, *journal, outcome);
  for (auto entry = journal->entries.rbegin(); entry != journal->entries.rend(); ++entry) reverter.Revert(*entry);
  if (!writer.AppendMark("undone"))
    outcome.failures.push_back({folder + "journal", "it could not be marked as undone"});
  return outcome;
}

}  // namespace kestrel
