#include "merger/move_disks.h"

#include <optional>
#include <string>
#include <vector>

#include "archive/backup_zip.h"
#include "archive/chd_header.h"
#include "archive/chd_transfer.h"
#include "gamedb/disk_home.h"
#include "merger/merge_paths.h"
#include "platform/listed_spelling.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

// Where the layout keeps one disk of the family.
struct DiskTarget {
  std::string set;
  std::string name;  // without ".chd"
  Sha1Digest sha1{};
  bool placed = false;  // the disk lies there now
  bool left = false;    // tried and given up for this run: no CHD of it, or its place could not be freed
};

// A CHD found in a set folder of the family whose header gives the SHA-1 of
// one of the family's disks.
struct FoundDisk {
  std::string path;  // as the file system spells it
  Sha1Digest sha1{};
  bool used = false;  // moved to a target, or lying at a target that keeps it
};

bool IsListedDump(const DiskEntry& disk) { return disk.sha1.has_value() && disk.status != DumpStatus::kNoDump; }

std::vector<const GameSet*> FamilyOf(const MergeRun& run, const GameSet& parent) {
  std::vector<const GameSet*> family{&parent};
  for (const CloneRef& ref : parent.clones)
    if (ref.index >= 0 && size_t(ref.index) < run.database.size()) family.push_back(&run.database[size_t(ref.index)]);
  return family;
}

bool InFamily(const std::vector<const GameSet*>& family, const GameSet* set) {
  for (const GameSet* member : family)
    if (member == set) return true;
  return false;
}

// Every place the layout keeps one of the family's disks, each once. A disk
// kept in a set beyond the family (a BIOS set) is that set's: no family's
// run changes it.
std::vector<DiskTarget> TargetsOf(const MergeRun& run, const std::vector<const GameSet*>& family, SetLayout layout) {
  std::vector<DiskTarget> targets;
  for (const GameSet* game : family) {
    for (const DiskEntry& disk : game->disks) {
      if (!IsListedDump(disk)) continue;
      DiskHome home = DiskHomeOf(run.database, *game, disk, layout);
      if (!InFamily(family, home.set) || !IsPlainFileName(home.name + ".chd")) continue;
      bool known = false;
      for (const DiskTarget& target : targets)
        known = known || (EqualsNoCase(target.set, home.set->name) && EqualsNoCase(target.name, home.name));
      if (!known) targets.push_back({home.set->name, home.name, *disk.sha1});
    }
  }
  return targets;
}

bool IsFamilyDisk(const std::vector<DiskTarget>& targets, const Sha1Digest& sha1) {
  for (const DiskTarget& target : targets)
    if (target.sha1 == sha1) return true;
  return false;
}

// The CHDs of the family's disks in the family's set folders in `folder`.
std::vector<FoundDisk> FindDisks(MergeRun& run, const std::string& folder, const std::vector<const GameSet*>& family,
                                 const std::vector<DiskTarget>& targets) {
  std::vector<FoundDisk> found;
  for (const GameSet* game : family) {
    std::optional<std::string> setFolder = run.sets.FindFolder(folder, game->name);
    if (!setFolder) continue;
    for (const FolderEntry& entry : run.fs.ListFolder(WithTrailingSeparator(*setFolder))) {
      if (entry.isFolder || !HasChdExtension(entry.name)) continue;
      std::string path = JoinPath(*setFolder, entry.name);
      ChdHeader header = ReadChdHeader(run.fs, path);
      if (header.status == ChdHeaderStatus::kGood && IsFamilyDisk(targets, header.sha1))
        found.push_back({path, header.sha1});
    }
  }
  return found;
}

FoundDisk* FoundAt(std::vector<FoundDisk>& found, const std::string& path) {
  for (FoundDisk& disk : found)
    if (disk.path == path) return &disk;
  return nullptr;
}

// The path of the target's disk in `folder`, in its set folder as spelled
// on disk when there is one.
std::string TargetPathIn(MergeRun& run, const std::string& folder, const DiskTarget& target) {
  std::optional<std::string> setFolder = run.sets.FindFolder(folder, target.set);
  return JoinPath(setFolder.value_or(JoinPath(folder, target.set)), target.name + ".chd");
}

// Marks the targets whose disk lies there already, and the CHDs lying there.
void NoteDisksInPlace(MergeRun& run, const std::string& folder, std::vector<DiskTarget>& targets,
                      std::vector<FoundDisk>& found) {
  for (DiskTarget& target : targets) {
    std::optional<std::string> there = run.fs.FindPath(TargetPathIn(run, folder, target));
    FoundDisk* disk = there ? FoundAt(found, *there) : nullptr;
    if (disk == nullptr || disk->sha1 != target.sha1) continue;
    target.placed = true;
    disk->used = true;
    TakeListedSpelling(run.fs, FolderPart(*there), target.name + ".chd");
  }
}

// What became of one target in one pass.
enum class Placing {
  kPlaced,   // its disk lies there now
  kWaiting,  // another disk of the family lies there, to be moved to its own place first
  kLeft,     // no CHD of it was found, or it could not be moved: nothing changed
};

// The CHD to put at `target`: one that no set keeps where it lies, to be
// moved; else one in place elsewhere, to be copied; null when none.
FoundDisk* SourceFor(std::vector<FoundDisk>& found, const DiskTarget& target, bool& copy) {
  FoundDisk* inPlace = nullptr;
  for (FoundDisk& disk : found) {
    if (disk.sha1 != target.sha1) continue;
    if (!disk.used) {
      copy = false;
      return &disk;
    }
    inPlace = &disk;
  }
  copy = true;
  return inPlace;
}

// Other content under the disk's name makes way only into the backup folder.
bool MoveAside(MergeRun& run, const std::string& path, MergeOutcome& outcome) {
  const std::string& backupFolder = run.settings.backupFolder;
  std::string movedTo;
  if (backupFolder.empty() || !MoveIntoBackupFolder(run.fs, backupFolder, path, &movedTo)) {
    outcome.kept.push_back({path, "is not the disk the list names so; it can't be moved into the backup folder, "
                                  "so it was left in place and the disk not put there"});
    return false;
  }
  outcome.movedDisks.push_back({path, "is not the disk the list names so: moved into '" + movedTo + "'"});
  return true;
}

Placing PlaceTarget(MergeRun& run, const std::string& folder, DiskTarget& target, std::vector<FoundDisk>& found,
                    MergeOutcome& outcome) {
  bool copy = false;
  FoundDisk* source = SourceFor(found, target, copy);
  if (source == nullptr) return Placing::kLeft;
  if (std::optional<std::string> occupant = run.fs.FindPath(TargetPathIn(run, folder, target))) {
    FoundDisk* disk = FoundAt(found, *occupant);
    if (disk != nullptr && !disk->used) return Placing::kWaiting;
    if (!MoveAside(run, *occupant, outcome)) return Placing::kLeft;
  }
  TakeListedSpelling(run.fs, folder, target.set);
  run.fs.CreateFolder(JoinPath(folder, target.set));
  std::string path = TargetPathIn(run, folder, target);
  run.Pump();
  bool originalLeft = false;
  if (!TransferChd(run.fs, source->path, path, target.sha1, copy ? ChdTransfer::kCopy : ChdTransfer::kMove,
                   &originalLeft)) {
    outcome.kept.push_back({source->path, "can't be " + std::string(copy ? "copied" : "moved") + " to '" + path +
                                              "': left in place"});
    return Placing::kLeft;
  }
  if (originalLeft) outcome.kept.push_back({source->path, "was copied to '" + path + "' but can't be removed"});
  if (!copy && !originalLeft) source->path = path;
  if (!copy) source->used = true;
  target.placed = true;
  return Placing::kPlaced;
}

bool IsPlaced(const std::vector<DiskTarget>& targets, const Sha1Digest& sha1) {
  for (const DiskTarget& target : targets)
    if (target.placed && target.sha1 == sha1) return true;
  return false;
}

// A second copy of a disk in place, which no set keeps where it lies, goes
// into the backup folder when backups are on; never deleted.
void BackUpExtraCopies(MergeRun& run, const std::vector<DiskTarget>& targets, const std::vector<FoundDisk>& found,
                       MergeOutcome& outcome) {
  if (!run.settings.makeBackups || run.settings.backupFolder.empty()) return;
  for (const FoundDisk& disk : found) {
    if (disk.used || !IsPlaced(targets, disk.sha1)) continue;
    std::string movedTo;
    if (MoveIntoBackupFolder(run.fs, run.settings.backupFolder, disk.path, &movedTo))
      outcome.movedDisks.push_back({disk.path, "is a second copy of a disk in place: moved into '" + movedTo + "'"});
  }
}

void MoveDisksIn(MergeRun& run, const std::string& folder, const std::vector<const GameSet*>& family,
                 std::vector<DiskTarget> targets, MergeOutcome& outcome) {
  std::vector<FoundDisk> found = FindDisks(run, folder, family, targets);
  if (found.empty()) return;
  NoteDisksInPlace(run, folder, targets, found);
  // A disk may wait for another to leave its place; each pass places at
  // least one, or ends. Disks that hold each other's places stay.
  for (bool placedAny = true; placedAny;) {
    placedAny = false;
    for (DiskTarget& target : targets) {
      if (target.placed || target.left) continue;
      Placing placing = PlaceTarget(run, folder, target, found, outcome);
      placedAny = placedAny || placing == Placing::kPlaced;
      target.left = placing == Placing::kLeft;
    }
  }
  BackUpExtraCopies(run, targets, found, outcome);
  // A clone's folder left empty by its disks' leaving goes.
  for (const GameSet* game : family)
    if (std::optional<std::string> setFolder = run.sets.FindFolder(folder, game->name))
      if (run.fs.ListFolder(WithTrailingSeparator(*setFolder)).empty()) run.fs.RemoveFolder(*setFolder);
}

}  // namespace

void MoveFamilyDisks(MergeRun& run, const GameSet& parent, SetLayout layout, MergeOutcome& outcome) {
  std::vector<const GameSet*> family = FamilyOf(run, parent);
  std::vector<DiskTarget> targets = TargetsOf(run, family, layout);
  if (targets.empty()) return;
  std::vector<std::string> folders = run.romPaths;
  const std::string& destination = run.settings.mergeDestination;
  bool intoDestination = run.settings.mergePlacement == MergePlacement::kIntoDestination && !destination.empty();
  bool destinationIsRomPath = false;
  for (const std::string& folder : folders)
    destinationIsRomPath = destinationIsRomPath || SameFolder(run.fs, folder, destination);
  if (intoDestination && !destinationIsRomPath) folders.push_back(destination);
  for (const std::string& folder : folders) MoveDisksIn(run, folder, family, targets, outcome);
}

}  // namespace kestrel
