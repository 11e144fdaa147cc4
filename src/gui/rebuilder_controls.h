// The controls of the rebuilder dialog: identifiers, captions, tool tips.
#pragma once

#include "gui/tool_controls.h"

namespace kestrel {

inline constexpr char kRebuilderCaption[] = "Rebuilding ROMs";

enum RebuilderControl {
  kRebuilderSourceEdit = 1006,
  kRebuilderSourceBrowse = 1007,
  kRebuilderDestinationEdit = 1008,
  kRebuilderDestinationBrowse = 1009,
  kRebuilderZip = 1010,
  kRebuilderLogfileEdit = 1011,
  kRebuilderNoMerging = 1012,
  kRebuilderSplitSets = 1013,
  kRebuilderMergeSets = 1014,
  kRebuilderZeroCrcs = 1015,
  kRebuilderTildeCrcs = 1016,
  kRebuilderRebuild = 1017,
  kRebuilderArcade = 1019,
  kRebuilderArcadeNeoGeo = 1020,
  kRebuilderNeoGeoBios = 1021,
  kRebuilderRecursive = 1025,
  kRebuilderRemoveSources = 1026,
  kRebuilderCreateLog = 1027,
  kRebuilderLogfileBrowse = 1028,
  kRebuilderFullNonMerged = 1029,
  kRebuilderTorrentZip = 1030,
};

// The layout radios (rebuildMergeMode), in the order of kToolLayoutCodes.
inline constexpr int kRebuilderLayoutRadios[] = {kRebuilderNoMerging, kRebuilderSplitSets, kRebuilderMergeSets,
                                                 kRebuilderFullNonMerged};

// Radios form two groups: the layouts and the three game types
// (RebuildGameTypes, in value order, in a run from kRebuilderArcade).
inline constexpr ControlEntry kRebuilderControls[] = {
    {kRebuilderSourceEdit, ControlKind::kEdit, "Sour&ce",
     "Kestrel tries to rebuild files from this folder."},
    {kRebuilderSourceBrowse, ControlKind::kBrowse, "<", "Click here to browse for a sourcefolder."},
    {kRebuilderDestinationEdit, ControlKind::kEdit, "&Destination",
     "The rebuilt files will be stored in this folder."},
    {kRebuilderDestinationBrowse, ControlKind::kBrowse, "<",
     "Click here to browse for a destinationfolder."},
    {kRebuilderNoMerging, ControlKind::kRadio, "N&o Merging",
     "Enabling this option will rebuild not-merged sets."},
    {kRebuilderSplitSets, ControlKind::kRadio, "&Split Sets",
     "Enabling this option will rebuild split sets."},
    {kRebuilderMergeSets, ControlKind::kRadio, "&Merge Sets",
     "Enabling this option will rebuild merged sets."},
    {kRebuilderFullNonMerged, ControlKind::kRadio, "&Full Non-Merged Sets",
     "Enabling this option will rebuild sets that also hold their BIOS and device ROMs."},
    {kRebuilderZip, ControlKind::kCheck, "&Zip Files",
     "Enabling this option to produce zipped rebuilt sets."},
    {kRebuilderTorrentZip, ControlKind::kCheck, "&TorrentZip",
     "Zipped sets are written in TorrentZip's canonical form: the same set always has the same bytes."},
    {kRebuilderTildeCrcs, ControlKind::kCheck, "Rebuild &~-CRCs",
     "The rebuilder will also rebuild ROMs with a complemented crc."},
    {kRebuilderZeroCrcs, ControlKind::kCheck, "Rebuild &0-CRCs",
     "The rebuilder will also rebuild ROMs with a 0 crc."},
    {kRebuilderArcade, ControlKind::kRadio, "Rebuild &Arcade",
     "By enabling this option Kestrel ignores NeoGeo ROMs."},
    {kRebuilderArcadeNeoGeo, ControlKind::kRadio, "Rebuild Arcade && &NeoGeo",
     "Rebuild: Arcade and NeoGeo ROMs (and separate BIOS)"},
    {kRebuilderNeoGeoBios, ControlKind::kRadio, "Rebuild Both + NeoGeoB&IOS",
     "Rebuild: Arcade, NeoGeo ROMs + NeoGeo BIOS (added to each set)"},
    {kRebuilderRecursive, ControlKind::kCheck, "Rec&ursively Rebuild",
     "Sourcefolder will be scanned recursively when enabling this option."},
    {kRebuilderRemoveSources, ControlKind::kCheck, "&Remove Rebuilt Sourcefiles",
     "Rebuilt source files will be removed. WARNING: NO BACKUP WILL BE MADE !"},
    {kRebuilderCreateLog, ControlKind::kCheck, "Create &Logfile:",
     "A logfile is created which tells you what's going on while rebuilding."},
    {kRebuilderLogfileEdit, ControlKind::kEdit, "", "Enter the name of a the rebuilder-logfile."},
    {kRebuilderLogfileBrowse, ControlKind::kBrowse, "<", "Browse for a rebuilder-logfile."},
    {kRebuilderRebuild, ControlKind::kButton, "Re&build", "Click here to start the rebuilding process."},
};

// Texts of the dialog's choosers.
inline constexpr char kChooseSourceTitle[] = "Choose Sourcefolder";
inline constexpr char kChooseDestinationTitle[] = "Choose Destinationfolder";
inline constexpr char kRebuildLogFilter[] = "Rebuilder Logfiles (*.log)|*.log||";
inline constexpr char kRebuildLogName[] = "rebuild.log";

}  // namespace kestrel
