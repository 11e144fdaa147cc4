#include "merger/merge_families.h"

#include <algorithm>
#include <vector>

#include "merger/commit_family.h"
#include "merger/finish_set.h"
#include "merger/leftover_work.h"
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

// Which ROMs of a game its new set takes. BIOS ROMs live in the BIOS set
// only, except in a non-merged set, which is complete by itself. A clone's
// ROM named like another content of its family cannot share the merged set
// with it, so it stays in the clone's own set. A clone's ROM may lie in its
// parent's set under the name its `merge` gives; a set of the clone's own
// takes it from there under its own name.
struct RomChoice {
  bool biosRoms = false;
  bool parentRoms = true;  // false for a split clone: only what its parent lacks
  bool clashingRoms = true;
  bool onlyClashingRoms = false;
  bool byMergeName = true;
};

constexpr RomChoice kMergedRoms{false, true, false, false, false};
constexpr RomChoice kMergedCloneRoms{false, true, true, true, false};
constexpr RomChoice kNonMergedRoms{true, true, true, false, true};
RomChoice SplitRoms(bool clone) { return {false, !clone, true, false, true}; }

// The set holding `game`'s BIOS ROMs; null when it uses none.
const GameSet* BiosSetOf(const MergeRun& run, const GameSet& game) {
  if (game.biosIndex < 0 || size_t(game.biosIndex) >= run.database.size()) return nullptr;
  return &run.database[size_t(game.biosIndex)];
}

bool Takes(const MergeRun& run, const GameSet& game, const RomEntry& rom, RomChoice choice) {
  if (!choice.biosRoms && BiosSetOf(run, game) != nullptr && BiosRomOf(run.database, game, rom) != nullptr)
    return false;
  bool clashes = ClashesInFamily(run.database, game, rom);
  if (choice.onlyClashingRoms) return clashes;
  if (clashes && !choice.clashingRoms) return false;
  return choice.parentRoms || !rom.inParent;
}

bool TakesAnyRom(const MergeRun& run, const GameSet& game, RomChoice choice) {
  return std::any_of(game.roms.begin(), game.roms.end(),
                     [&](const RomEntry& rom) { return Takes(run, game, rom, choice); });
}

// Whether the layout gives `game`'s set none of its ROMs, all of them living
// in its BIOS set (or, for a split clone, in the parent's set). A game with
// no ROM listed does not count: its set may hold what the list leaves out.
bool LeavesNoRom(const MergeRun& run, const GameSet& game, RomChoice choice) {
  return !game.roms.empty() && !TakesAnyRom(run, game, choice);
}

// Every ROM of `game` that the set takes, looked for in the sets of `sourceSet`.
void CollectRoms(MergeRun& run, const GameSet& game, const std::string& sourceSet, WorkSet& set, RomChoice choice) {
  for (const RomEntry& rom : game.roms) {
    if (!Takes(run, game, rom, choice)) continue;
    CollectFile(run, sourceSet, rom.name, rom.name, set, &rom);
    if (choice.byMergeName && !rom.merge.empty() && rom.merge != rom.name)
      CollectFile(run, sourceSet, rom.merge, rom.name, set, &rom);
  }
}

// Every BIOS ROM of `game`, looked for in its BIOS set under the name it has
// there. Collected last, so the BIOS set's copy is the one used and a copy
// in the family's old sets stands in only where the BIOS set lacks it.
void CollectBiosRoms(MergeRun& run, const GameSet& game, WorkSet& set) {
  const GameSet* bios = BiosSetOf(run, game);
  if (bios == nullptr) return;
  for (const RomEntry& rom : game.roms) {
    if (const RomEntry* biosRom = BiosRomOf(run.database, game, rom))
      CollectFile(run, bios->name, biosRom->name, rom.name, set, &rom);
  }
}

// The names of the BIOS sets the family's games use: what they hold is in
// the collection, whatever the family's new sets leave out.
std::vector<std::string> BiosSetsOf(const MergeRun& run, const GameSet& parent) {
  std::vector<std::string> names;
  auto add = [&](const GameSet& game) {
    const GameSet* bios = BiosSetOf(run, game);
    if (bios != nullptr && std::find(names.begin(), names.end(), bios->name) == names.end())
      names.push_back(bios->name);
  };
  add(parent);
  for (const CloneRef& ref : parent.clones)
    if (IsValidClone(run, ref)) add(CloneOf(run, ref));
  return names;
}

// Builds every set of the family, then commits them together; the work
// folders go in any case. A family that fails or is stopped before its
// commit keeps its old sets and is counted failed.
StepResult FinishFamily(MergeRun& run, const GameSet& parent, std::vector<WorkSet>& sets,
                        const std::vector<SetToRemove>& removeOld, MergeOutcome& outcome) {
  for (WorkSet& set : sets) {
    std::string failure;
    StepResult result = FinishSet(run, set, failure);
    if (result == StepResult::kStop && failure.empty()) failure = "stopped before '" + set.setPath + "' was written";
    if (!failure.empty()) {
      DiscardWorkSets(sets);
      outcome.failed.push_back({parent.name, failure});
      return result;
    }
  }
  std::string failure = CommitFamily(run, sets, {removeOld, BiosSetsOf(run, parent)}, outcome);
  DiscardWorkSets(sets);
  if (failure.empty())
    outcome.handled.push_back(parent.name);
  else
    outcome.failed.push_back({parent.name, failure});
  return StepResult::kContinue;
}

// Whether a clone keeps a set of its own beside the merged set: it has a
// ROM named like another content of its family.
bool KeepsOwnSet(const MergeRun& run, const GameSet& clone) { return TakesAnyRom(run, clone, kMergedCloneRoms); }

// The merged set: every ROM of the family that can share it, looked for in
// every set of the family.
void CollectMergedSet(MergeRun& run, const GameSet& parent, WorkSet& merged) {
  merged.holdsNoRom = LeavesNoRom(run, parent, kMergedRoms);
  CollectRoms(run, parent, parent.name, merged, kMergedRoms);
  for (const CloneRef& ref : parent.clones)
    if (IsValidClone(run, ref)) CollectRoms(run, parent, CloneOf(run, ref).name, merged, kMergedRoms);
  for (const CloneRef& ref : parent.clones) {
    if (!IsValidClone(run, ref)) continue;
    const GameSet& clone = CloneOf(run, ref);
    merged.holdsNoRom = merged.holdsNoRom && !TakesAnyRom(run, clone, kMergedRoms);
    CollectRoms(run, clone, clone.name, merged, kMergedRoms);
    CollectRoms(run, clone, parent.name, merged, kMergedRoms);
  }
}

// Creates the work folder of one set of the family. False, with the family
// noted as skipped, when it cannot be made (a leftover that could not be
// cleaned up is still there).
bool OpenWorkSet(const GameSet& parent, const std::string& folder, const std::string& setName, WorkSet& set,
                 MergeOutcome& outcome) {
  if (CreateWorkSet(folder, setName, set)) return true;
  outcome.skipped.push_back({parent.name, set.workFolder});
  return false;
}

// Cleans up the work folders an interrupted run left beside any set of the
// family, wherever the run may have put them.
void CleanLeftovers(MergeRun& run, const GameSet& parent, MergeOutcome& outcome) {
  std::vector<std::string> folders = run.romPaths;
  if (run.settings.mergePlacement == MergePlacement::kIntoDestination && !run.settings.mergeDestination.empty())
    folders.push_back(run.settings.mergeDestination);
  std::vector<std::string> names{parent.name};
  for (const CloneRef& ref : parent.clones)
    if (IsValidClone(run, ref)) names.push_back(CloneOf(run, ref).name);
  for (const std::string& name : names) {
    if (!IsPlainFileName(name)) continue;
    for (const std::string& folder : folders) {
      std::optional<std::string> leftover = FindPath(JoinPath(folder, name) + ".kpw");
      if (leftover && CleanLeftover(run, folder, name, outcome.kept))
        outcome.cleanedLeftovers.push_back(WithTrailingSeparator(*leftover));
    }
  }
}

void ShowFamily(MergeRun& run, const char* doing, const GameSet& parent) {
  run.progress.SetText(std::string("\n\n ") + doing + "\t" + parent.name);
}

// Every set of the family of `parent`, the parent's first, each with the
// folder its new set goes to; in the merged layout (`merged`) a clone that
// keeps no set of its own has none (""). Remove Old deletes each set from
// every other active ROM path.
std::vector<SetToRemove> FamilySets(MergeRun& run, const GameSet& parent, bool merged) {
  std::vector<SetToRemove> sets{{parent.name, DestinationFolderOf(run, parent.name)}};
  for (const CloneRef& ref : parent.clones) {
    if (!IsValidClone(run, ref)) continue;
    const GameSet& clone = CloneOf(run, ref);
    bool ownSet = !merged || KeepsOwnSet(run, clone);
    sets.push_back({clone.name, ownSet ? DestinationFolderOf(run, clone.name) : ""});
  }
  return sets;
}

}  // namespace

StepResult MergeFamily(MergeRun& run, const GameSet& parent, MergeOutcome& outcome) {
  ShowFamily(run, "Merging Gameset:", parent);
  CleanLeftovers(run, parent, outcome);
  std::vector<SetToRemove> family = FamilySets(run, parent, true);
  std::vector<WorkSet> sets(1);
  if (!OpenWorkSet(parent, family[0].keptIn, parent.name, sets[0], outcome)) return StepResult::kContinue;
  CollectMergedSet(run, parent, sets[0]);
  // Clones keeping a set of their own: the merged set holds another
  // content under these names. Added only once the merged set is whole.
  for (const CloneRef& ref : parent.clones) {
    if (!IsValidClone(run, ref)) continue;
    const GameSet& clone = CloneOf(run, ref);
    auto kept = std::find_if(family.begin(), family.end(),
                             [&](const SetToRemove& set) { return set.name == clone.name && !set.keptIn.empty(); });
    if (kept == family.end()) continue;
    WorkSet cloneSet;
    if (!OpenWorkSet(parent, kept->keptIn, clone.name, cloneSet, outcome)) {
      DiscardWorkSets(sets);
      return StepResult::kContinue;
    }
    CollectRoms(run, clone, clone.name, cloneSet, kMergedCloneRoms);
    sets.push_back(std::move(cloneSet));
  }
  if (!run.settings.mergeRemoveOld) family.clear();
  return FinishFamily(run, parent, sets, family, outcome);
}

StepResult RebuildFamily(MergeRun& run, const GameSet& parent, bool split, MergeOutcome& outcome) {
  ShowFamily(run, split ? "Merging Gameset:" : "Unmerging Gameset:", parent);
  CleanLeftovers(run, parent, outcome);
  std::vector<WorkSet> sets(1);
  std::string folder = DestinationFolderOf(run, parent.name);
  if (!OpenWorkSet(parent, folder, parent.name, sets[0], outcome)) return StepResult::kContinue;
  // The parent's files are noted before any clone set is looked at anew.
  RomChoice parentChoice = split ? SplitRoms(false) : kNonMergedRoms;
  sets[0].holdsNoRom = LeavesNoRom(run, parent, parentChoice);
  CollectRoms(run, parent, parent.name, sets[0], parentChoice);
  for (const CloneRef& ref : parent.clones)
    if (IsValidClone(run, ref)) CollectRoms(run, parent, CloneOf(run, ref).name, sets[0], parentChoice);
  if (!split) CollectBiosRoms(run, parent, sets[0]);

  for (const CloneRef& ref : parent.clones) {
    if (!IsValidClone(run, ref)) continue;
    const GameSet& clone = CloneOf(run, ref);
    WorkSet cloneSet;
    if (!OpenWorkSet(parent, DestinationFolderOf(run, clone.name), clone.name, cloneSet, outcome)) {
      // The family's other work folders were made by this run.
      DiscardWorkSets(sets);
      return StepResult::kContinue;
    }
    RomChoice cloneChoice = split ? SplitRoms(true) : kNonMergedRoms;
    cloneSet.holdsNoRom = LeavesNoRom(run, clone, cloneChoice);
    CollectRoms(run, clone, clone.name, cloneSet, cloneChoice);
    CollectRoms(run, clone, parent.name, cloneSet, cloneChoice);
    if (!split) CollectBiosRoms(run, clone, cloneSet);
    sets.push_back(std::move(cloneSet));
  }
  // The clone sets are finished first, in clone order, then the parent's.
  std::rotate(sets.begin(), sets.begin() + 1, sets.end());
  std::vector<SetToRemove> removeOld;
  if (run.settings.mergeRemoveOld)
    for (const WorkSet& set : sets) removeOld.push_back({set.setName, set.folder});
  return FinishFamily(run, parent, sets, removeOld, outcome);
}

}  // namespace kestrel
