#include "merger/merger.h"

#include "merger/merge_families.h"
#include "merger/merge_paths.h"
#include "platform/paths.h"
#include "platform/thread_priority.h"

namespace kestrel {
namespace {

// The checks before a run; false when it cannot start.
bool CheckRun(SettingsRecord& settings, UserInterface* ui) {
  if (settings.activeRomPaths.empty()) {
    ShowMessage(ui, "No ROM-Paths Available.", "Path Error", {MessageButtons::kOk, MessageIcon::kStop});
    return false;
  }
  if (settings.mergePlacement != 1) return true;
  if (!settings.mergeDestination.empty()) settings.mergeDestination = WithTrailingSeparator(settings.mergeDestination);
  return CheckMergeDestination(ui, settings.mergeDestination);
}

int CountFamilies(const GameList& database) {
  int count = 0;
  for (const GameSet& game : database)
    if (IsSelectedFamilyHead(game)) ++count;
  return count;
}

// The old sets of one family that Remove Old would delete.
int CountFamilySetsToRemove(MergeRun& run, const GameSet& parent, bool merged) {
  int count = 0;
  for (const SetToRemove& set : FamilySets(run, parent, merged)) {
    for (const std::string& romPath : run.settings.activeRomPaths) {
      if (!set.keptIn.empty() && SameFolder(romPath, set.keptIn)) continue;
      count += run.sets.FindZip(romPath, set.name).has_value() + run.sets.FindFolder(romPath, set.name).has_value();
    }
  }
  return count;
}

}  // namespace

bool IsSelectedFamilyHead(const GameSet& game) {
  return game.selected && (game.isParent || (!game.hasParent && game.biosIndex >= 0));
}

RemovalCount CountSetsToRemove(const GameList& database, const SettingsRecord& settings, MergeButton button) {
  RemovalCount count;
  if (!settings.mergeRemoveOld || settings.activeRomPaths.empty()) return count;
  SettingsRecord options = settings;
  if (options.mergePlacement == 1) options.mergeDestination = WithTrailingSeparator(options.mergeDestination);
  std::unique_ptr<ProgressDialog> silent = OpenProgressDialog(nullptr, "");
  ZipLibrary unused;
  MergeRun run(database, options, nullptr, unused, ZipUpdate, *silent);
  bool merged = button == MergeButton::kMerge && settings.mergeMode == 1;
  for (const GameSet& parent : database) {
    if (!IsSelectedFamilyHead(parent)) continue;
    int sets = CountFamilySetsToRemove(run, parent, merged);
    count.families += sets > 0;
    count.sets += sets;
  }
  return count;
}

MergeOutcome RunMerger(const GameList& database, SettingsRecord& settings, UserInterface* ui, ZipLibrary& zipLibrary,
                       MergeButton button, ZipWriter writeZip) {
  MergeOutcome outcome;
  if (!CheckRun(settings, ui)) return outcome;
  outcome.started = true;

  ScopedThreadPriority priority(settings.threadPriority);
  bool merging = button == MergeButton::kMerge;
  std::unique_ptr<ProgressDialog> progress = OpenProgressDialog(ui, merging ? "Merging ROMs" : "Unmerging ROMs");
  progress->SetRange(0, CountFamilies(database));
  progress->SetStep(1);
  MergeRun run(database, settings, ui, zipLibrary, writeZip, *progress);
  for (const GameSet& parent : database) {
    if (!IsSelectedFamilyHead(parent)) continue;
    run.StartFamily();
    StepResult result = StepResult::kContinue;
    if (merging && settings.mergeMode == 1) {
      result = MergeFamily(run, parent, outcome);
    } else {
      result = RebuildFamily(run, parent, merging, outcome);
    }
    if (result == StepResult::kStop || run.CancelRequested()) {
      outcome.stopped = true;
      break;
    }
    progress->Step();
  }
  return outcome;
}

}  // namespace kestrel
