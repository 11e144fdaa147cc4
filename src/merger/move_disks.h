// Moving a family's disks (CHD files) between its set folders as the layout
// keeps them (disk_home.h): a clone's disk with `merge` lives in the parent's
// folder in the split and merged layouts, in the clone's own non-merged.
//
// A disk is moved whole by a rename within the folder (ROM path or merge
// destination) it lies in; it is never read beyond its header, zipped or
// deleted. Where two sets keep the same disk (non-merged), the second gets
// a copy, read back before it counts. A CHD whose header gives no SHA-1 of
// the family's disks is left alone, wherever it lies. A copy no set keeps
// any more, whose disk is in place, goes whole into the backup folder, or
// stays when backups are off. Another CHD under a disk's name makes way only
// by going into the backup folder; without one it stays and the disk is not
// moved.
#pragma once

#include "gamedb/game_set.h"
#include "gamedb/set_layout.h"
#include "merger/merge_run.h"
#include "merger/merger.h"

namespace kestrel {

// Puts the disks of the family headed by `parent` where `layout` keeps them,
// in every folder the run keeps sets in. What could not be done is noted in
// `outcome.kept`, every CHD moved into the backup folder in
// `outcome.movedDisks`.
void MoveFamilyDisks(MergeRun& run, const GameSet& parent, SetLayout layout, MergeOutcome& outcome);

}  // namespace kestrel
