#include "merger/merge_families.h"

#include <algorithm>
#include <vector>

#include "gamedb/rom_home.h"
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

// The sets a family's ROM may lie in before the run, whatever the layout
// it was in: a clone's ROM in its own set or its parent's; a parent's ROM
// in its own set or, non-merged, in any clone's.
std::vector<std::string> SourceSetsOf(const MergeRun& run, const GameSet& game, const GameSet& parent) {
  if (&game != &parent) return {game.name, parent.name};
  std::vector<std::string> names{parent.name};
  for (const CloneRef& ref : parent.clones)
    if (IsValidClone(run, ref)) names.push_back(CloneOf(run, ref).name);
  return names;
}

// The set holding `game`'s BIOS ROMs; null when it uses none.
const GameSet* BiosSetOf(const MergeRun& run, const GameSet& game) {
  if (game.biosIndex < 0 || size_t(game.biosIndex) >= run.database.size()) return nullptr;
  return &run.database[size_t(game.biosIndex)];
}

// The copy of `rom` that a set shared beyond the family holds (a device's or
// the BIOS set's), with that set; null when the ROM is the family's own.
const RomEntry* SharedCopyOf(const MergeRun& run, const GameSet& game, const RomEntry& rom, const GameSet*& holder) {
  if (const RomEntry* deviceRom = DeviceRomOf(run.database, rom)) {
    holder = &run.database[size_t(rom.deviceSet)];
    return deviceRom;
  }
  holder = BiosSetOf(run, game);
  return holder != nullptr ? BiosRomOf(run.database, game, rom) : nullptr;
}

// Every ROM of `game` that `layout` keeps in `target`'s set, under its name
// there, looked for in the family's sets under every name it may bear: its
// own, its `merge` name, its name in the new set. The copy of a device or
// BIOS set is collected last, so that it is the one used and a copy in the
// family's old sets stands in only where that set lacks it.
void CollectRoms(MergeRun& run, const GameSet& game, const GameSet& parent, const GameSet& target, SetLayout layout,
                 WorkSet& set) {
  std::vector<std::string> sources = SourceSetsOf(run, game, parent);
  for (const RomEntry& rom : game.roms) {
    RomHome home = HomeOf(run.database, game, rom, layout);
    if (home.set != &target) continue;
    std::vector<std::string> names{rom.name};
    for (const std::string& name : {rom.merge, home.name})
      if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    for (const std::string& source : sources)
      for (const std::string& name : names) CollectFile(run, source, name, home.name, set, &rom);
    const GameSet* holder = nullptr;
    if (const RomEntry* sharedRom = SharedCopyOf(run, game, rom, holder))
      CollectFile(run, holder->name, sharedRom->name, home.name, set, &rom);
  }
}

// Every ROM of the family that `layout` keeps in `target`'s set, the
// target's own first.
void CollectFamilyRoms(MergeRun& run, const GameSet& parent, const GameSet& target, SetLayout layout, WorkSet& set) {
  for (const GameSet* game : GamesSharing(run.database, target, layout))
    CollectRoms(run, *game, parent, target, layout, set);
}

// Whether `layout` keeps none of the family's ROMs in `target`'s set, all
// of them living in a BIOS set or the parent's. A game with no ROM listed
// does not count: its set may hold what the list leaves out.
bool LeavesNoRom(const MergeRun& run, const GameSet& target, SetLayout layout) {
  if (target.roms.empty()) return false;
  for (const GameSet* game : GamesSharing(run.database, target, layout))
    for (const RomEntry& rom : game->roms)
      if (HomeOf(run.database, *game, rom, layout).set == &target) return false;
  return true;
}

// Fills a new set: whether it is left without ROMs, and every file it takes.
void FillWorkSet(MergeRun& run, const GameSet& parent, const GameSet& target, SetLayout layout, WorkSet& set) {
  set.holdsNoRom = LeavesNoRom(run, target, layout);
  CollectFamilyRoms(run, parent, target, layout, set);
}

// The names of the BIOS and device sets the family's games use: what they
// hold is in the collection, whatever the family's new sets leave out.
std::vector<std::string> SharedSetsOf(const MergeRun& run, const GameSet& parent) {
  std::vector<std::string> names;
  auto addSet = [&](const GameSet* shared) {
    if (shared != nullptr && std::find(names.begin(), names.end(), shared->name) == names.end())
      names.push_back(shared->name);
  };
  auto add = [&](const GameSet& game) {
    addSet(BiosSetOf(run, game));
    for (int device : game.devices)
      if (device >= 0 && size_t(device) < run.database.size()) addSet(&run.database[size_t(device)]);
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
      DiscardWorkSets(run, sets);
      outcome.failed.push_back({parent.name, failure});
      return result;
    }
  }
  std::string failure = CommitFamily(run, sets, {removeOld, SharedSetsOf(run, parent)}, outcome);
  DiscardWorkSets(run, sets);
  if (failure.empty())
    outcome.handled.push_back(parent.name);
  else
    outcome.failed.push_back({parent.name, failure});
  return StepResult::kContinue;
}

// Whether a clone keeps a set of its own beside the merged set: it has a
// ROM named like another content of its family.
bool KeepsOwnSet(const MergeRun& run, const GameSet& clone) {
  return std::any_of(clone.roms.begin(), clone.roms.end(), [&](const RomEntry& rom) {
    return HomeOf(run.database, clone, rom, SetLayout::kMerged).set == &clone;
  });
}

// Creates the work folder of one set of the family. False, with the family
// noted as skipped, when it cannot be made (a leftover that could not be
// cleaned up is still there).
bool OpenWorkSet(MergeRun& run, const GameSet& parent, const std::string& folder, const std::string& setName,
                 WorkSet& set, MergeOutcome& outcome) {
  if (CreateWorkSet(run, folder, setName, set)) return true;
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
      std::optional<std::string> leftover = run.sets.FindWorkFolder(folder, name);
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
  if (!OpenWorkSet(run, parent, family[0].keptIn, parent.name, sets[0], outcome)) return StepResult::kContinue;
  FillWorkSet(run, parent, parent, SetLayout::kMerged, sets[0]);
  // Clones keeping a set of their own: the merged set holds another
  // content under these names. Added only once the merged set is whole.
  for (const CloneRef& ref : parent.clones) {
    if (!IsValidClone(run, ref)) continue;
    const GameSet& clone = CloneOf(run, ref);
    auto kept = std::find_if(family.begin(), family.end(),
                             [&](const SetToRemove& set) { return set.name == clone.name && !set.keptIn.empty(); });
    if (kept == family.end()) continue;
    WorkSet cloneSet;
    if (!OpenWorkSet(run, parent, kept->keptIn, clone.name, cloneSet, outcome)) {
      DiscardWorkSets(run, sets);
      return StepResult::kContinue;
    }
    FillWorkSet(run, parent, clone, SetLayout::kMerged, cloneSet);
    sets.push_back(std::move(cloneSet));
  }
  if (!run.settings.mergeRemoveOld) family.clear();
  return FinishFamily(run, parent, sets, family, outcome);
}

StepResult RebuildFamily(MergeRun& run, const GameSet& parent, SetLayout layout, MergeOutcome& outcome) {
  ShowFamily(run, layout == SetLayout::kSplit ? "Merging Gameset:" : "Unmerging Gameset:", parent);
  CleanLeftovers(run, parent, outcome);
  std::vector<WorkSet> sets(1);
  std::string folder = DestinationFolderOf(run, parent.name);
  if (!OpenWorkSet(run, parent, folder, parent.name, sets[0], outcome)) return StepResult::kContinue;
  // The parent's files are noted before any clone set is looked at anew.
  FillWorkSet(run, parent, parent, layout, sets[0]);
  for (const CloneRef& ref : parent.clones) {
    if (!IsValidClone(run, ref)) continue;
    const GameSet& clone = CloneOf(run, ref);
    WorkSet cloneSet;
    if (!OpenWorkSet(run, parent, DestinationFolderOf(run, clone.name), clone.name, cloneSet, outcome)) {
      // The family's other work folders were made by this run.
      DiscardWorkSets(run, sets);
      return StepResult::kContinue;
    }
    FillWorkSet(run, parent, clone, layout, cloneSet);
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
