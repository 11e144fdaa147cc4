// The merger: rearranges every selected parent/clone family in the ROM
// paths into merged, split or non-merged (unmerged) sets. A game without
// clones that uses a BIOS set is a family of its own: its set is complete
// when non-merged and holds no BIOS ROM otherwise.
//
// Each family is assembled in ".kpw" work folders and committed as a whole:
// its old sets are replaced, and with Remove Old deleted elsewhere, only
// once all of its new sets are written. A stop or a failure removes the
// family's work folders and leaves its old sets as they were. A work folder
// left over by an interrupted run makes its family be skipped.
#pragma once

#include <string>
#include <vector>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "gamedb/game_set.h"
#include "merger/merge_run.h"
#include "settings/settings_record.h"

namespace kestrel {

// The dialog's two buttons: "&Merge" builds merged (mergeMode 1) or split
// (mergeMode 0) sets, "&Unmerge" non-merged sets.
enum class MergeButton { kMerge, kUnmerge };

// A family left alone because a work folder of it could not be made.
struct SkippedFamily {
  std::string parent;
  std::string workFolder;  // the work folder that could not be made (typically left over)
};

// A family whose new sets could not be written; its old sets are kept.
struct FailedFamily {
  std::string parent;
  std::string reason;  // what went wrong, for the user ("can't write 'x.zip'", ...)
  bool operator==(const FailedFamily&) const = default;
};

struct MergeOutcome {
  bool started = false;  // false when the run checks refused to start
  bool stopped = false;  // ended early: cancelled, or the user chose to stop after an error
  std::vector<std::string> handled;  // parents whose families were rebuilt, in order
  std::vector<SkippedFamily> skipped;
  std::vector<FailedFamily> failed;
};

// Whether a run rearranges the family headed by `game`: a selected parent,
// or a selected game without clones whose layout still varies because it
// uses a BIOS set (a BIOS set alone looks the same in every layout).
bool IsSelectedFamilyHead(const GameSet& game);

// Runs one press of a button on the selected parents of `database`, in
// database order, with the merger options of `settings` (placement 1
// normalises mergeDestination, and empties it when the folder is missing).
// Refuses to start with "No ROM-Paths Available." when no ROM path is
// active. `writeZip` writes the new archives.
MergeOutcome RunMerger(const GameList& database, SettingsRecord& settings, UserInterface* ui,
                       ZipLibrary& zipLibrary, MergeButton button, ZipWriter writeZip = ZipUpdate);

}  // namespace kestrel
