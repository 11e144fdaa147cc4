// The controls of the merger dialog: identifiers, captions, tool tips.
#pragma once

#include "gui/tool_controls.h"

namespace kestrel {

inline constexpr char kMergerCaption[] = "(Un-)Merging ROMs";

enum MergerControl {
  kMergerUnmerge = 1051,
  kMergerZip = 1052,
  kMergerSplit = 1053,
  kMergerMerge = 1054,
  kMergerKeepPosition = 1015,
  kMergerToFolder = 1016,
  kMergerRun = 1057,
  kMergerFolderEdit = 1058,
  kMergerFolderBrowse = 1059,
  kMergerRemoveOld = 1060,
  kMergerCleanSet = 1061,
  kMergerTorrentZip = 1062,
};

// The layout radios (mergeMode), in the order of kMergerLayoutCodes: split,
// merged.
inline constexpr int kMergerLayoutRadios[] = {kMergerSplit, kMergerMerge};

// The placement radios (MergePlacement) form a run from kMergerKeepPosition,
// in value order.
inline constexpr ControlEntry kMergerControls[] = {
    {kMergerSplit, ControlKind::kRadio, "&Split", "You want to create split sets."},
    {kMergerMerge, ControlKind::kRadio, "M&erge", "You want to create merged sets."},
    {kMergerCleanSet, ControlKind::kCheck, "&Clean Set", "Build up a clean new set."},
    {kMergerRemoveOld, ControlKind::kCheck, "&Remove Old Parent / Clones",
     "Remove old parent/clones from any rompath."},
    {kMergerZip, ControlKind::kCheck, "&Zip Files", "Zip the merged sets."},
    {kMergerTorrentZip, ControlKind::kCheck, "&TorrentZip",
     "Zips are written in TorrentZip's canonical form: the same set always has the same bytes."},
    {kMergerKeepPosition, ControlKind::kRadio, "Keep &Original Position",
     "Don't put parent/clone to a different position."},
    {kMergerToFolder, ControlKind::kRadio, "(Un-)Merge &Parents/Clones To",
     "Put parent/clone files to a new destination (other files stay where they are)."},
    {kMergerFolderEdit, ControlKind::kEdit, "",
     "Enter the foldername where parent/clones should be placed."},
    {kMergerFolderBrowse, ControlKind::kBrowse, "<", "Browse for a destination folder."},
    {kMergerRun, ControlKind::kButton, "&Merge", "Starting the merge-process."},
    {kMergerUnmerge, ControlKind::kButton, "&Unmerge", "Starting the unmerge-process."},
};

inline constexpr char kMergeFolderTitle[] = "Where To Put Merged Roms ?";

}  // namespace kestrel
