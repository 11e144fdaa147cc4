// All options of one ROM collection: paths, data source, selection, folders
// and the last used options of every tool. The main window owns one record;
// the tool dialogs write into it, the settings dialog edits a copy.
//
// Flags are bool here; the profile file keeps them as 0/1 integers.
// Folder paths end with '/'.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gamedb/set_layout.h"

namespace kestrel {

// One line of a path list, or of the games list of the settings dialog.
struct PathEntry {
  std::string path;     // folder ending with '/', or the shown text of a game line
  bool enabled = true;  // used by the tools (check box in the settings dialog)
  int game = -1;        // games list: index of the game in the game database; -1 otherwise
  int position = -1;    // index of the line in its list; -1 when not yet placed
  intptr_t treeItem = 0;  // the settings dialog's tree item; never stored
};

// Path lists are searched in their order.
using PathList = std::vector<PathEntry>;

struct SettingsRecord {
  // Selection read from a profile, tied to the data it was saved with.
  std::vector<uint8_t> gameSelectionBytes;  // 1 = selected, in game-database order
  uint32_t storedDataCrc = 0;
  int32_t storedGameCount = 0;
  // Identity of the game data in memory, set by data acquisition.
  uint32_t dataCrc = 0;
  std::string loadedMameExe;
  std::string loadedDatfile;
  std::string loadedRaineExe;
  bool dataFromMameExe = false;
  bool dataFromDatfile = false;
  bool dataFromRaineExe = false;

  bool parentClones = true;
  int32_t currentPathList = 0;  // 0 ROM, 1 sample, 2 misc, 3 add paths, 4 games
  int32_t dataSource = 0;       // 0 MAME executable, 1 datfile, 2 RAINE executable
  std::string mameExe;
  std::string datfile;
  std::string raineExe;
  bool makeBackups = true;
  std::string backupFolder;
  std::string tempFolder;
  int32_t startOption = 0;      // 0 last settings, 1 pick a profile; kept per user
  int32_t displayLiErrors = 1;  // three states: 0 off, 1 on, 2 grey
  bool pathWarnings = true;
  int32_t threadPriority = 0;   // -15, -2, -1, 0, 1, 2 or 15
  int32_t zipLevel = 9;         // 0 stores
  PathList romPaths;
  PathList samplePaths;
  PathList miscPaths;
  PathList gameList;  // one line per game of the database; rebuilt, never stored
  PathList addPaths;

  std::string rebuildSource;
  std::string rebuildDestination;
  std::string rebuildLogfile;
  SetLayout rebuildMergeMode = SetLayout::kNonMerged;  // the layout the rebuilder writes
  int32_t rebuildGameTypes = 1;  // 0 arcade, 1 arcade and NeoGeo, 2 both and the BIOS
  bool rebuildZip = true;
  bool rebuildTildeCrcs = true;
  bool rebuildZeroCrcs = true;
  bool rebuildRemoveSources = false;
  bool rebuildCreateLog = false;
  std::string rebuildWork;  // folder the rebuilder extracts zip members into
  bool rebuildRecursive = true;

  SetLayout mergeMode = SetLayout::kMerged;  // what "Merge" builds: split or merged
  int32_t mergePlacement = 0;  // 0 keep original position, 1 into mergeDestination
  bool mergeCleanSet = true;
  bool mergeZip = true;
  bool mergeRemoveOld = true;
  std::string mergeDestination;

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
  bool fixMissing = false;          // state 1 of the three-state box
  bool fixMissingAdvanced = false;  // state 2 of the same box
  bool allowDoubleNames = true;
  bool altSamplesSupport = true;
  bool advancedUnneeded = false;
  bool zeroCrcCreation = true;
  bool showMissingZeroCrcs = true;  // state 1 of the three-state box
  bool askBeforeFixing = true;
  std::string fastscanFile = "fastscan.fsc";
  std::string scannerLogfile = "kestrel.log";
  SetLayout scanMergeMode = SetLayout::kSplit;  // the layout the scanner checks
  int32_t scanGameTypes = 2;  // 0 arcade only, 1 NeoGeo only, 2 both
  bool showAllZeroCrcs = false;  // state 2 of the "Show Missing 0-CRCs" box
  std::string gameFilter;
  bool addStatistics = false;

  // Working fields, never stored: the enabled romPaths in their order,
  // filled by the main window after validation.
  int32_t activeRomPathCount = 0;
  std::vector<std::string> activeRomPaths;
};

// Gives every field its default, as a new record has.
void ResetSettings(SettingsRecord& record);

}  // namespace kestrel
