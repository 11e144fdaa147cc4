// The merger: rearranges every selected parent/clone family in the ROM
// paths into merged, split or non-merged (unmerged) sets. A game without
// clones that uses a BIOS set is a family of its own: its set is complete
// when non-merged and holds no BIOS ROM otherwise.
//
// Each family is assembled in ".kpw" work folders, which only ever hold
// copies. Its old sets are replaced, and with Remove Old deleted elsewhere,
// only once all of its new sets are written and read back, and only what
// the new sets hold or a backup zip holds is taken away (see
// commit_family.h). A stop or a failure before the commit removes the
// family's work folders and leaves its old sets as they were. A work folder
// left over by an interrupted run is cleaned up when its family comes next.
#pragma once

#include <string>
#include <vector>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "gamedb/game_set.h"
#include "merger/merge_run.h"
#include "settings/settings_record.h"

namespace kestrel {

// What a run builds: "&Merge" the sets of mergeMode (merged or split),
// "&Unmerge" non-merged sets; full unmerging (the command line's "unmerge
// --full") full non-merged sets, which hold their BIOS and device ROMs too.
enum class MergeButton { kMerge, kUnmerge, kUnmergeFull };

// A family left alone because a work folder of it could not be made.
struct SkippedFamily {
  std::string parent;
  // The work folder that could not be made: typically one left over by an
  // interrupted run that holds an old set which could be neither put back
  // nor backed up.
  std::string workFolder;
};

// A family whose new sets could not be written; its old sets are kept.
struct FailedFamily {
  std::string parent;
  std::string reason;  // what went wrong, for the user ("can't write 'x.zip'", ...)
  bool operator==(const FailedFamily&) const = default;
};

// A file the run would have removed but left where it was, or moved whole
// into the backup folder, because it could not be read or backed up.
struct KeptFile {
  std::string path;
  std::string reason;  // for the user: "can't be read, left in place", ...
  bool operator==(const KeptFile&) const = default;
};

struct MergeOutcome {
  bool started = false;  // false when the run checks refused to start
  bool stopped = false;  // ended early: cancelled, or the user chose to stop after an error
  std::vector<std::string> handled;  // parents whose families were rebuilt, in order
  std::vector<SkippedFamily> skipped;
  std::vector<FailedFamily> failed;  // also the family a stop broke off
  std::vector<KeptFile> kept;
  // Files of the sets the families share (BIOS and device sets) that the
  // run had to read and could not: what they hold was taken as missing
  // from the collection. Each was left as it was.
  std::vector<std::string> unreadable;
  // CHD files moved whole into the backup folder: second copies of a disk
  // in place, and other contents under a disk's name. Nothing was lost.
  std::vector<KeptFile> movedDisks;
  // Work folders an interrupted run had left, removed once what they held
  // was found in place or backed up.
  std::vector<std::string> cleanedLeftovers;
};

// Whether a run rearranges the family headed by `game`: a selected parent,
// or a selected game without clones whose layout still varies because it
// uses a BIOS set (a BIOS set alone looks the same in every layout).
bool IsSelectedFamilyHead(const GameSet& game);

// Runs one press of a button on the selected parents of `database`, in
// database order, with the merger options of `settings` (placement into
// the destination normalises mergeDestination, and empties it when the
// folder is missing), in the enabled ROM paths. Refuses to start with
// "No ROM-Paths Available." when no ROM path is enabled. Every file is
// reached through `fs`.
MergeOutcome RunMerger(const GameList& database, SettingsRecord& settings, UserInterface* ui, ZipLibrary& zipLibrary,
                       MergeButton button, FileSystem& fs = RealFileSystem());

}  // namespace kestrel
