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

// Whether the family's collecting met `zip` and could not read it: nothing
// of it reached the new sets.
bool WasUnreadable(const MergeRun& run, const std::string& zip) {
  auto listing = run.zipListings.find(zip);
  return listing != run.zipListings.end() && !listing->second;
}

// Removes the set `name` from every active ROM path but `keep` ("" keeps
// none). A zip that could not be read stays: it may still be repaired.
void DeleteSetElsewhere(MergeRun& run, const std::string& name, const std::string& keep) {
  for (const std::string& romPath : run.settings.activeRomPaths) {
    if (!keep.empty() && SameFolder(romPath, keep)) continue;
    std::optional<std::string> zip = run.sets.FindZip(romPath, name);
    if (zip && !WasUnreadable(run, *zip)) DeleteFile(*zip);
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
      if (result == StepResult::kContinue) outcome.failed.push_back({parent.name, "a new set could not be written"});
      return result;
    }
  }
  committed = CommitSets(run.sets, sets, run.settings.mergeCleanSet);
  DiscardWorkSets(sets);
  if (committed)
    outcome.handled.push_back(parent.name);
  else
    outcome.failed.push_back({parent.name, "the new sets could not be put in place"});
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
  merged.holdsNoRom = LeavesNoRom(run, parent, kMergedRoms);
  CollectRoms(run, parent, parent.name, merged, kMergedRoms);
  for (const CloneRef& ref : parent.clones)
    if (IsValidClone(run, ref)) CollectRoms(run, parent, CloneOf(run, ref).name, merged, kMergedRoms);
  // Clones keeping a set of their own, with the folder it goes to.
  std::vector<std::pair<const GameSet*, std::string>> keptClones;
  for (const CloneRef& ref : parent.clones) {
    if (!IsValidClone(run, ref)) continue;
    const GameSet& clone = CloneOf(run, ref);
    merged.holdsNoRom = merged.holdsNoRom && !TakesAnyRom(run, clone, kMergedRoms);
    CollectRoms(run, clone, clone.name, merged, kMergedRoms);
    CollectRoms(run, clone, parent.name, merged, kMergedRoms);
    if (!TakesAnyRom(run, clone, kMergedCloneRoms)) continue;
    keptClones.emplace_back(&clone, DestinationFolderOf(run.sets, run.settings, clone.name));
    sets.emplace_back();
    if (!CreateWorkSet(keptClones.back().second, clone.name, sets.back())) {
      outcome.skipped.push_back({parent.name, sets.back().workFolder});
      sets.pop_back();
      DiscardWorkSets(sets);
      return StepResult::kContinue;
    }
    // The merged set holds another content under these names.
    CollectRoms(run, clone, clone.name, sets.back(), kMergedCloneRoms);
  }
  bool committed = false;
  StepResult result = FinishFamily(run, parent, sets, outcome, committed);
  if (committed && run.settings.mergeRemoveOld) {
    DeleteSetElsewhere(run, parent.name, folder);
    for (const CloneRef& ref : parent.clones) {
      if (!IsValidClone(run, ref)) continue;
      const GameSet& clone = CloneOf(run, ref);
      auto kept = std::find_if(keptClones.begin(), keptClones.end(),
                               [&](const auto& entry) { return entry.first == &clone; });
      DeleteSetElsewhere(run, clone.name, kept != keptClones.end() ? kept->second : "");
    }
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
  RomChoice parentChoice = split ? SplitRoms(false) : kNonMergedRoms;
  sets[0].holdsNoRom = LeavesNoRom(run, parent, parentChoice);
  CollectRoms(run, parent, parent.name, sets[0], parentChoice);
  for (const CloneRef& ref : parent.clones)
    if (IsValidClone(run, ref)) CollectRoms(run, parent, CloneOf(run, ref).name, sets[0], parentChoice);
  if (!split) CollectBiosRoms(run, parent, sets[0]);

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
    RomChoice cloneChoice = split ? SplitRoms(true) : kNonMergedRoms;
    sets.back().holdsNoRom = LeavesNoRom(run, clone, cloneChoice);
    CollectRoms(run, clone, clone.name, sets.back(), cloneChoice);
    CollectRoms(run, clone, parent.name, sets.back(), cloneChoice);
    if (!split) CollectBiosRoms(run, clone, sets.back());
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
