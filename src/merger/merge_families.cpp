#include "merger/merge_families.h"

#include <algorithm>
#include <vector>

#include "merger/finish_set.h"
#include "merger/folder_tree.h"
#include "merger/merge_paths.h"
#include "merger/work_set.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

const GameSet& CloneOf(const MergeRun& run, const CloneRef& clone) { return run.database[size_t(clone.index)]; }

bool IsValidClone(const MergeRun& run, const CloneRef& clone) {
  return clone.index >= 0 && size_t(clone.index) < run.database.size();
}

// Every ROM of `game`, looked for in the sets of `sourceSet`.
void CollectRoms(MergeRun& run, const GameSet& game, const std::string& sourceSet, WorkSet& set,
                 bool onlyOwnRoms = false) {
  for (const RomEntry& rom : game.roms) {
    if (onlyOwnRoms && rom.inParent) continue;
    CollectFile(run, sourceSet, rom.name, set);
  }
}

// Removes the set `name` from every active ROM path but `keep` ("" keeps none).
void DeleteSetElsewhere(MergeRun& run, const std::string& name, const std::string& keep) {
  for (const std::string& romPath : run.settings.activeRomPaths) {
    if (!keep.empty() && SameFolder(romPath, keep)) continue;
    if (std::optional<std::string> zip = run.sets.FindZip(romPath, name)) DeleteFile(*zip);
    if (std::optional<std::string> folder = run.sets.FindFolder(romPath, name)) RemoveFolderTree(*folder);
  }
}

// Builds every set of the family, then commits them together; the work
// folders go in any case. On a stop or a failure the old sets stay.
StepResult FinishFamily(MergeRun& run, const GameSet& parent, std::vector<WorkSet>& sets, MergeOutcome& outcome,
                        bool& committed) {
  committed = false;
  for (WorkSet& set : sets) {
    bool built = false;
    StepResult result = FinishSet(run, set, built);
    if (result == StepResult::kStop || !built) {
      DiscardWorkSets(sets);
      if (result == StepResult::kContinue) outcome.failed.push_back(parent.name);
      return result;
    }
  }
  committed = CommitSets(run.sets, sets, run.settings.mergeCleanSet);
  DiscardWorkSets(sets);
  (committed ? outcome.handled : outcome.failed).push_back(parent.name);
  return StepResult::kContinue;
}

void ShowFamily(MergeRun& run, const char* doing, const GameSet& parent) {
  run.progress.SetText(std::string("\n\n ") + doing + "\t" + parent.name);
}

}  // namespace

StepResult MergeFamily(MergeRun& run, const GameSet& parent, MergeOutcome& outcome) {
  ShowFamily(run, "Merging Gameset:", parent);
  std::string folder = DestinationFolderOf(run.sets, run.settings, parent.name);
  std::vector<WorkSet> sets(1);
  if (!CreateWorkSet(folder, parent.name, sets[0])) {
    outcome.skipped.push_back({parent.name, sets[0].workFolder});
    return StepResult::kContinue;
  }
  WorkSet& merged = sets[0];
  CollectRoms(run, parent, parent.name, merged);
  for (const CloneRef& ref : parent.clones)
    if (IsValidClone(run, ref)) CollectRoms(run, parent, CloneOf(run, ref).name, merged);
  for (const CloneRef& ref : parent.clones) {
    if (!IsValidClone(run, ref)) continue;
    const GameSet& clone = CloneOf(run, ref);
    CollectRoms(run, clone, clone.name, merged);
    CollectRoms(run, clone, parent.name, merged);
  }
  bool committed = false;
  StepResult result = FinishFamily(run, parent, sets, outcome, committed);
  if (committed && run.settings.mergeRemoveOld) {
    DeleteSetElsewhere(run, parent.name, folder);
    for (const CloneRef& ref : parent.clones)
      if (IsValidClone(run, ref)) DeleteSetElsewhere(run, CloneOf(run, ref).name, "");
  }
  return result;
}

StepResult RebuildFamily(MergeRun& run, const GameSet& parent, bool split, MergeOutcome& outcome) {
  ShowFamily(run, split ? "Merging Gameset:" : "Unmerging Gameset:", parent);
  std::vector<WorkSet> sets(1);
  std::vector<std::string> folders{DestinationFolderOf(run.sets, run.settings, parent.name)};
  if (!CreateWorkSet(folders[0], parent.name, sets[0])) {
    outcome.skipped.push_back({parent.name, sets[0].workFolder});
    return StepResult::kContinue;
  }
  // The parent's files are noted before any clone set is looked at anew.
  CollectRoms(run, parent, parent.name, sets[0]);
  for (const CloneRef& ref : parent.clones)
    if (IsValidClone(run, ref)) CollectRoms(run, parent, CloneOf(run, ref).name, sets[0]);

  std::vector<const GameSet*> clones;
  for (const CloneRef& ref : parent.clones) {
    if (!IsValidClone(run, ref)) continue;
    const GameSet& clone = CloneOf(run, ref);
    folders.push_back(DestinationFolderOf(run.sets, run.settings, clone.name));
    sets.emplace_back();
    if (!CreateWorkSet(folders.back(), clone.name, sets.back())) {
      outcome.skipped.push_back({parent.name, sets.back().workFolder});
      // The family's other work folders were made by this run.
      sets.pop_back();
      DiscardWorkSets(sets);
      return StepResult::kContinue;
    }
    CollectRoms(run, clone, clone.name, sets.back(), split);
    CollectRoms(run, clone, parent.name, sets.back(), split);
    clones.push_back(&clone);
  }
  // The clone sets are finished first, in clone order, then the parent's.
  std::rotate(sets.begin(), sets.begin() + 1, sets.end());
  bool committed = false;
  StepResult result = FinishFamily(run, parent, sets, outcome, committed);
  if (committed && run.settings.mergeRemoveOld) {
    DeleteSetElsewhere(run, parent.name, folders[0]);
    for (size_t i = 0; i < clones.size(); ++i) DeleteSetElsewhere(run, clones[i]->name, folders[i + 1]);
  }
  return result;
}

}  // namespace kestrel
