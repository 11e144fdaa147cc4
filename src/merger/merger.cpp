#include "merger/merger.h"

#include "archive/zip_library.h"
#include "merger/merge_families.h"
#include "merger/merge_paths.h"
#include "merger/move_disks.h"
#include "platform/paths.h"
#include "platform/thread_priority.h"
#include "settings/check_folder.h"
#include "settings/enabled_paths.h"
#include "settings/tool_folders.h"

namespace kestrel {
namespace {

// The checks before a run; false when it cannot start.
bool CheckRun(SettingsRecord& settings, UserInterface* ui) {
  const bool intoDestination = settings.mergePlacement == MergePlacement::kIntoDestination;
  if (intoDestination && !settings.mergeDestination.empty()) {
    settings.mergeDestination = WithTrailingSeparator(settings.mergeDestination);
  }
  FolderCheck check = CheckMergerFolders(settings);
  MessageStyle stop{MessageButtons::kOk, MessageIcon::kStop};
  if (check.fault == FolderFault::kNoRomPaths) {
    ShowMessage(ui, "No ROM-Paths Available.", "Path Error", stop);
    return false;
  }
  if (!check.ok()) {
    ShowMessage(ui, "Can't Access '" + check.path + "'", "Path Error", stop);
    settings.mergeDestination.clear();
    return false;
  }
  // The destination as the file system spells it, with a trailing '/'.
  if (intoDestination) CheckFolder(settings.mergeDestination, true);
  return true;
}

int CountFamilies(const GameList& database) {
  int count = 0;
  for (const GameSet& game : database)
    if (IsSelectedFamilyHead(game)) ++count;
  return count;
}

}  // namespace

bool IsSelectedFamilyHead(const GameSet& game) {
  return game.selected && (game.isParent || (!game.hasParent && game.biosIndex >= 0));
}

MergeOutcome RunMerger(const GameList& database, SettingsRecord& settings, UserInterface* ui, ZipLibrary& zipLibrary,
                       MergeButton button, FileSystem& fs) {
  MergeOutcome outcome;
  std::vector<std::string> romPaths = EnabledPaths(settings.romPaths);
  if (!CheckRun(settings, ui)) return outcome;
  outcome.started = true;

  ScopedThreadPriority priority(settings.threadPriority);
  bool merging = button == MergeButton::kMerge;
  std::unique_ptr<ProgressDialog> progress = OpenProgressDialog(ui, merging ? "Merging ROMs" : "Unmerging ROMs");
  progress->SetRange(0, CountFamilies(database));
  progress->SetStep(1);
  SetLayout layout = merging                                 ? settings.mergeMode
                     : button == MergeButton::kUnmergeFull ? SetLayout::kFullNonMerged
                                                           : SetLayout::kNonMerged;
  ZipLibrary library = zipLibrary;
  library.torrentZip = settings.mergeTorrentZip;
  MergeRun run(database, settings, std::move(romPaths), ui, library, fs, *progress);
  for (const GameSet& parent : database) {
    if (!IsSelectedFamilyHead(parent)) continue;
    run.StartFamily();
    StepResult result = StepResult::kContinue;
    if (layout == SetLayout::kMerged) {
      result = MergeFamily(run, parent, outcome);
    } else {
      result = RebuildFamily(run, parent, layout, outcome);
    }
    // Disks follow the ROMs of a family put in place.
    bool handled = !outcome.handled.empty() && outcome.handled.back() == parent.name;
    if (result == StepResult::kContinue && handled) MoveFamilyDisks(run, parent, layout, outcome);
    if (result == StepResult::kStop || run.CancelRequested()) {
      outcome.stopped = true;
      break;
    }
    progress->Step();
  }
  return outcome;
}

}  // namespace kestrel
