// Disks in a rebuild. A CHD source is known by the SHA-1 its header gives,
// never by reading it whole, and goes as DISK.chd into the folder of the
// set disk_home.h names for the layout: with zipped sets that folder lies
// beside the set's zip, where MAME looks for it. CHDs inside zips are not
// looked into: MAME never reads a disk from a zip.
#include <optional>
#include <vector>

#include "archive/chd_header.h"
#include "archive/chd_transfer.h"
#include "archive/backup_zip.h"
#include "gamedb/disk_home.h"
#include "platform/listed_spelling.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "rebuilder/rebuild_messages.h"
#include "rebuilder/rebuild_state.h"

namespace kestrel {
namespace {

// Where one listed disk goes: the set folder and the disk's name there.
struct DiskTarget {
  std::string set;
  std::string name;  // without ".chd"
};

// What a destination holds under a disk's name before the source is placed.
enum class TargetState {
  kThere,    // the same disk (header SHA-1 and size): nothing to write
  kFree,     // nothing, or other contents now moved into the backup folder
  kBlocked,  // other contents that could not be backed up, or a name that cannot be used
};

bool IsListedDump(const DiskEntry& disk) { return disk.sha1.has_value() && disk.status != DumpStatus::kNoDump; }

// Every place the selected games keep a disk of this SHA-1, each once. A
// disk without a known dump is never looked for.
std::vector<DiskTarget> TargetsOf(const RebuildState& state, const Sha1Digest& sha1) {
  std::vector<DiskTarget> targets;
  for (const GameSet& game : *state.database) {
    if (!game.selected) continue;
    for (const DiskEntry& disk : game.disks) {
      if (!IsListedDump(disk) || *disk.sha1 != sha1) continue;
      DiskHome home = DiskHomeOf(*state.database, game, disk, state.settings.rebuildMergeMode);
      bool known = false;
      for (const DiskTarget& target : targets)
        known = known || (EqualsNoCase(target.set, home.set->name) && EqualsNoCase(target.name, home.name));
      if (!known) targets.push_back({home.set->name, home.name});
    }
  }
  return targets;
}

std::string TargetPath(const RebuildState& state, const DiskTarget& target) {
  return state.destination + target.set + "/" + target.name + ".chd";
}

bool HoldsDisk(FileSystem& fs, const std::string& path, const Sha1Digest& sha1, uint64_t size) {
  ChdHeader header = ReadChdHeader(fs, path);
  return header.status == ChdHeaderStatus::kGood && header.sha1 == sha1 && fs.FileSize(path) == size;
}

// Readies the target's place: its set folder under the listed spelling, and
// any other contents under the disk's name moved whole into the backup
// folder (a CHD is too big for a backup zip). Without a backup folder, or
// when the move fails, they stay and the disk is not placed.
TargetState PrepareTarget(RebuildState& state, const DiskTarget& target, const Sha1Digest& sha1, uint64_t size) {
  std::string path = TargetPath(state, target);
  if (!IsPlainFileName(target.set) || !IsPlainFileName(target.name + ".chd")) {
    AddFailure(state, path, rebuild_text::kNotPlainName);
    return TargetState::kBlocked;
  }
  if (!HasListedSpelling(TakeListedSpelling(state.fs, state.destination, target.set))) {
    AddFailure(state, state.destination + target.set, rebuild_text::kNotRespelled);
    return TargetState::kBlocked;
  }
  state.fs.CreateFolder(state.destination + target.set);
  std::optional<std::string> existing = state.fs.FindPath(path);
  if (!existing) return TargetState::kFree;
  // The disk already, perhaps the source itself when the source folder lies
  // inside the destination: never written over.
  if (HoldsDisk(state.fs, *existing, sha1, size)) {
    TakeListedSpelling(state.fs, state.destination + target.set, target.name + ".chd");
    return TargetState::kThere;
  }
  const std::string& backupFolder = state.settings.backupFolder;
  if (backupFolder.empty() || !MoveIntoBackupFolder(state.fs, backupFolder, *existing)) {
    AddFailure(state, *existing, rebuild_text::kOtherDiskKept);
    return TargetState::kBlocked;
  }
  return TargetState::kFree;
}

void NotePlacement(RebuildState& state, const DiskTarget& target, PlacementStatus status) {
  state.journal.back().placements.push_back({target.set, target.name + ".chd", status, true});
}

// Writes the disk to every free target: copies first, then, when sources
// are removed, a move into the last one, so that the source goes only once
// every other copy was made and read back.
void WriteTargets(RebuildState& state, const std::string& source, const Sha1Digest& sha1,
                  const std::vector<DiskTarget>& free) {
  for (size_t i = 0; i < free.size(); ++i) {
    bool last = i + 1 == free.size();
    ChdTransfer how = last && state.settings.rebuildRemoveSources ? ChdTransfer::kMove : ChdTransfer::kCopy;
    std::string path = TargetPath(state, free[i]);
    bool originalLeft = false;
    if (!TransferChd(state.fs, source, path, sha1, how, &originalLeft)) {
      AddFailure(state, path, rebuild_text::kNotWritten);
      NotePlacement(state, free[i], PlacementStatus::kNotWritten);
      continue;
    }
    NotePlacement(state, free[i], PlacementStatus::kWritten);
    if (how != ChdTransfer::kMove) continue;
    if (originalLeft)
      AddFailure(state, source, rebuild_text::kNotRemoved);
    else
      ++state.disksRemoved;
  }
}

bool IsInsideDestination(const RebuildState& state, const std::string& path) {
  return path.size() > state.destination.size() && path.compare(0, state.destination.size(), state.destination) == 0;
}

// A source whose every disk was there already goes when sources are
// removed, as a rebuilt ROM's does; never one inside the destination,
// which may be the very disk found there.
void RemoveServedSource(RebuildState& state, const std::string& source) {
  if (!state.settings.rebuildRemoveSources || !state.fs.PathExists(source) || IsInsideDestination(state, source))
    return;
  if (!AllPlacementsServed(state.journal.back())) return;
  if (state.fs.IsReadOnly(source)) state.fs.ClearReadOnly(source);
  if (state.fs.DeleteFile(source))
    ++state.disksRemoved;
  else
    AddFailure(state, source, rebuild_text::kNotRemoved);
}

}  // namespace

DiskSource RebuildDisk(RebuildState& state, const std::string& path, const std::string& name) {
  if (!HasChdExtension(name)) return DiskSource::kNoDisk;
  ChdHeader header = ReadChdHeader(state.fs, path);
  std::optional<uint64_t> size = state.fs.FileSize(path);
  if (header.status != ChdHeaderStatus::kGood || !size) return DiskSource::kNoDisk;
  SourceBlock block;
  block.text = path;
  block.source.path = path;
  state.journal.push_back(std::move(block));
  std::vector<DiskTarget> targets = TargetsOf(state, header.sha1);
  state.journal.back().matched = !targets.empty();
  std::vector<DiskTarget> free;
  for (const DiskTarget& target : targets) {
    TargetState found = PrepareTarget(state, target, header.sha1, *size);
    if (found == TargetState::kFree) free.push_back(target);
    if (found == TargetState::kThere) NotePlacement(state, target, PlacementStatus::kAlreadyThere);
    if (found == TargetState::kBlocked) NotePlacement(state, target, PlacementStatus::kNotWritten);
  }
  WriteTargets(state, path, header.sha1, free);
  RemoveServedSource(state, path);
  return state.progress->IsCancelled() ? DiskSource::kStop : DiskSource::kDone;
}

}  // namespace kestrel
