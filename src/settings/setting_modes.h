// The modes among the settings, each an enum whose enumerators carry the
// number the profile stores for them.
//
// A profile may hold a number no enumerator carries (written by hand, or
// damaged). It is kept as read, so the profile is written back unchanged,
// and every mode says below how such a number acts. Two more modes have
// their enums where they act: the list error level (ListErrorLevel, in
// gamedb/validate_games.h) and the thread priority (ThreadPriorityLevel,
// in platform/thread_priority.h).
#pragma once

#include <cstdint>

namespace kestrel {

// Where the game data come from. Any other number names no source: the
// data cannot be acquired and the settings dialog ticks no source.
enum class DataSourceKind : int32_t {
  kMameExe = 0,   // ask the MAME executable (-listinfo, else -listxml)
  kDatfile = 1,   // read a datfile
  kRaineExe = 2,  // ask the RAINE executable (-gamelist, then -gameinfo)
  kSoftwareLists = 3,  // MAME's software lists, one after another (softwareLists, hashPath)
};

// The list the settings dialog shows. The dialog moves any other number to
// the nearest list: below 0 to the ROM paths, above 4 to the games.
enum class PathListKind : int32_t {
  kRomPaths = 0,
  kSamplePaths = 1,
  kMiscPaths = 2,
  kAddPaths = 3,
  kGames = 4,
};

// Which ROMs the rebuilder serves. Any other number acts as kBiosInEverySet.
enum class RebuildGameTypes : int32_t {
  kArcadeOnly = 0,       // NeoGeo games are left out
  kSeparateBios = 1,     // arcade and NeoGeo; the NeoGeo BIOS goes to its own set
  kBiosInEverySet = 2,   // arcade and NeoGeo; the NeoGeo BIOS goes into every NeoGeo set
};

// Which games the scanner looks at. Any other number acts as kBoth.
enum class ScanGameTypes : int32_t {
  kArcadeOnly = 0,  // games without the NeoGeo BIOS
  kNeoGeoOnly = 1,  // games with it
  kBoth = 2,
};

// Where the merger puts the new sets. Any other number acts as
// kKeepPosition.
enum class MergePlacement : int32_t {
  kKeepPosition = 0,     // where the family's sets are now
  kIntoDestination = 1,  // into mergeDestination
};

}  // namespace kestrel
