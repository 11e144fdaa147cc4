// The rebuilder: builds correct sets in a destination folder out of
// arbitrary source files and zips, matched to the ROMs of the selected games
// by CRC-32 and size (or, for ROMs without a known dump, by name and size),
// and CHD files matched to the games' disks by the SHA-1 of their header.
//
// It reads the options of the settings record (rebuildSource,
// rebuildDestination, rebuildMergeMode, rebuildZip, ...), speaks to the user
// only through the UserInterface it is given, and never changes a source
// file: sources are read where they lie and removed, when asked for, only
// after every placement they served was written and read back.
#pragma once

#include <string>
#include <vector>

#include "gamedb/game_set.h"
#include "platform/file_system.h"
#include "settings/settings_record.h"

namespace kestrel {

class UserInterface;
struct ZipLibrary;

// What one run saw and did, for a summary.
struct RebuildCounts {
  int sourceFiles = 0;  // loose files and readable zip members looked up
  int matched = 0;      // of those, the ones that matched (logged without " [SKIPPED]")
  int skipped = 0;      // the others
  int romsPlaced = 0;   // ROM files written into the destination (the log's arrow lines)
  int setsWritten = 0;  // destination sets (zips or folders) that received at least one ROM
  int sourcesRemoved = 0;  // loose files, zip members and disks removed after rebuilding
  bool listHasDisks = false;  // a game of the list has a disk: the summary tells of disks
  int disksPlaced = 0;        // CHD files written into the destination (also arrow lines)
};

// Something the run could not do: a source it could not read, a set it
// could not write. Named so that the user can act on it.
struct RebuildFailure {
  std::string path;    // the source or destination concerned
  std::string reason;  // what went wrong
};

// Something an interrupted earlier run had left, cleared away by this one.
struct RebuildLeftover {
  std::string path;     // where it was
  std::string movedTo;  // "" when removed; else where in the backup folder it went, as it
                        // may have held the only copy of something
};

struct RebuildOutcome {
  bool refused = false;    // no work folder, or the logfile could not be made: nothing was done
  bool completed = false;  // the run went through all sources (an empty source included)
                           // without a cancel or a stop
  RebuildCounts counts;
  std::vector<RebuildFailure> failures;
  // What an interrupted earlier run had left (its work folder, unfinished
  // zip writes and copies in the destination, unfinished changes to source
  // zips), cleared by this run; what had to stay is among the failures.
  std::vector<RebuildLeftover> leftovers;
};

// Checks that both folders can be listed and that the destination is
// neither the source nor, when recursing, inside it. On a fault it tells
// the user ("Can't Access '...'" or the folder conflict, caption
// "Path Error"), empties the setting at fault and returns false.
bool CheckRebuildFolders(SettingsRecord& settings, UserInterface* ui);

// Rebuilds from settings.rebuildSource into settings.rebuildDestination
// (both already checked) over the selected games of `database`, with a
// progress dialog, the questions of a failed write and, when asked for, the
// logfile. Zip members are extracted into a private folder made inside the
// settings' temporary folder (the system's when that is empty) and removed
// afterwards. Each destination zip is written once, with all its new
// members, and never half: a failed write leaves it as it was. Contents
// already in the destination under a ROM's name are replaced only once a
// backup of them was written to the backup folder and read back; without
// one they stay and the placement is a failure. Every source that could
// not be read, set that could not be written and placement or removal left
// undone for safety is named in the outcome's failures. Every file is
// reached through `fs`.
RebuildOutcome RunRebuild(const GameList& database, const SettingsRecord& settings, ZipLibrary& zipLibrary,
                          UserInterface* ui, FileSystem& fs = RealFileSystem());

}  // namespace kestrel
