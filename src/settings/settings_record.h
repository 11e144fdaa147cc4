// All options of one ROM collection, exactly what a profile file keeps:
// paths, data source, selection, folders and the last used options of every
// tool. The main window owns one record; the tool dialogs write into it, the
// settings dialog edits a copy. What the game data in memory were read from
// is no setting: see loaded_data.h.
//
// Flags are bool here; the profile file keeps them as 0/1 integers, and the
// modes (setting_modes.h) as the numbers their enumerators carry.
// Folder paths end with '/'.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gamedb/set_layout.h"
#include "gamedb/validate_games.h"
#include "platform/thread_priority.h"
#include "settings/setting_modes.h"

namespace kestrel {

// One line of a path list, or of the games list of the settings dialog.
struct PathEntry {
  std::string path;     // folder ending with '/', or the shown text of a game line
  bool enabled = true;  // used by the tools (check box in the settings dialog)
  int game = -1;        // games list: index of the game in the game database; -1 otherwise
  int position = -1;    // index of the line in its list; -1 when not yet placed
};

// Path lists are searched in their order.
using PathList = std::vector<PathEntry>;

struct SettingsRecord {
  // Selection read from a profile, tied to the data it was saved with.
  std::vector<uint8_t> gameSelectionBytes;  // 1 = selected, in game-database order
  uint32_t storedDataCrc = 0;  // the data CRC of the game data it was saved for
  int32_t storedGameCount = 0;

  bool parentClones = true;
  PathListKind currentPathList = PathListKind::kRomPaths;
  DataSourceKind dataSource = DataSourceKind::kMameExe;
  std::string mameExe;
  std::string datfile;
  std::string raineExe;
  // MAME software list files, and a folder all of whose lists are used
  // (MAME's hash path): the data of the software list source, each list's
  // sets in a folder of its name in every ROM path.
  PathList softwareLists;
  std::string hashPath;
  bool makeBackups = true;
  std::string backupFolder;
  std::string tempFolder;
  // The three-state box: off, on (set errors), grey (ROM and sample errors
  // too). The list check compares it as a level, so a number below 0 shows
  // nothing and one above 2 everything; the dialog ticks such a number.
  ListErrorLevel displayLiErrors = kShowSetErrors;
  bool pathWarnings = true;
  ThreadPriorityLevel threadPriority = kPriorityNormal;  // an unknown level runs at normal
  int32_t zipLevel = 9;         // 0 stores
  PathList romPaths;
  PathList samplePaths;
  PathList miscPaths;
  PathList addPaths;

  std::string rebuildSource;
  std::string rebuildDestination;
  std::string rebuildLogfile;
  SetLayout rebuildMergeMode = SetLayout::kNonMerged;  // the layout the rebuilder writes
  RebuildGameTypes rebuildGameTypes = RebuildGameTypes::kSeparateBios;
  bool rebuildZip = true;
  bool rebuildTildeCrcs = true;
  bool rebuildZeroCrcs = true;
  bool rebuildRemoveSources = false;
  bool rebuildCreateLog = false;
  bool rebuildRecursive = true;
  bool rebuildTorrentZip = false;  // zips written in TorrentZip's form (archive/torrent_zip.h)

  SetLayout mergeMode = SetLayout::kMerged;  // what "Merge" builds: split or merged
  MergePlacement mergePlacement = MergePlacement::kKeepPosition;
  bool mergeCleanSet = true;
  bool mergeZip = true;
  bool mergeRemoveOld = true;
  std::string mergeDestination;
  bool mergeTorrentZip = false;  // as rebuildTorrentZip, for the merger's zips

  bool scanGames = true;
  bool scanRoms = true;
  bool scanSamples = true;
  bool checkMissing = true;
  bool checkChecksum = true;
  bool checkUnneeded = true;
  bool checkName = true;
  bool checkLength = true;
  bool checkCase = false;
  bool fixUnneeded = false;
  bool fixName = false;
  bool fixLength = false;
  bool fixCase = false;
  // The three-state "fix missing" box as the profile and the fastscan file
  // keep it, in two flags: on, or grey (advanced, which wins over on). The
  // desktop program sets one of them, the command line both for advanced;
  // either way they are written back as they were read.
  bool fixMissing = false;
  bool fixMissingAdvanced = false;
  bool allowDoubleNames = true;
  bool altSamplesSupport = true;
  bool advancedUnneeded = false;
  bool zeroCrcCreation = true;
  bool showMissingZeroCrcs = true;  // on state of the "Show Missing 0-CRCs" box; see showAllZeroCrcs
  bool askBeforeFixing = true;
  std::string fastscanFile = "fastscan.fsc";
  std::string scannerLogfile = "kestrel.log";
  SetLayout scanMergeMode = SetLayout::kSplit;  // the layout the scanner checks
  ScanGameTypes scanGameTypes = ScanGameTypes::kBoth;
  bool showAllZeroCrcs = false;  // its grey state, which wins over on; kept in two flags as fixMissing
  std::string gameFilter;
  bool addStatistics = false;
  // Also check the SHA-1 of every ROM whose list gives one, by reading its
  // contents: slower, but a file of the right size and CRC-32 may still be
  // another one.
  bool checkSha1 = false;
};

// Gives every field its default, as a new record has.
void ResetSettings(SettingsRecord& record);

}  // namespace kestrel
