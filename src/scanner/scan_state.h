// What one scan keeps between its steps: the stop request, the fix switches
// the user may change by answering "Yes To All" or "No To All", the NeoGeo
// BIOS flags, the names some check found needed, and the entries found at
// the top of the paths with the pseudo-game they are reported under.
//
// Header only, so that the reporting side can read it without linking the
// scanner. The statistics counters live in ScanStatistics (report).
#pragma once

#include <array>
#include <unordered_set>
#include <string>
#include <vector>

#include "gamedb/game_set.h"
#include "report/found_entries.h"
#include "platform/text.h"

namespace kestrel {

class ProgressDialog;

// Progress captions, switched around every repair.
inline constexpr char kScanningCaption[] = "Scanning Files";
inline constexpr char kFixingCaption[] = "Fixing files...please wait !";

// Appended to result lines of findings whose fix option is on.
inline constexpr char kFixedMark[] = " [fixed]";
inline constexpr char kNotFixedMark[] = " [not fixed]";

// The pseudo-game that owns entries found directly inside a path.
inline constexpr char kUnknownDescription[] = "<unknown>";
inline constexpr char kUnknownSetName[] = "_unknown";

// The shared NeoGeo BIOS set and its files: the first three make a usable
// BIOS, the fourth is needed only by the games that list it.
inline constexpr char kNeoGeoSetName[] = "neogeo";
inline constexpr std::array<const char*, 4> kNeoGeoBiosFiles = {"neo-geo.rom", "ng-sfix.rom",
                                                                "ng-sm1.rom", "im_bios.rom"};
inline constexpr std::array<uint32_t, 4> kNeoGeoBiosCrcs = {0x9036D879, 0x354029FC, 0x97CF998B,
                                                            0x853E6B96};
inline constexpr uint32_t kNeoGeoBiosSize = 131072;

struct ScanState {
  // Set by Stop in a question, a failed add-missing fix or Cancel; every
  // loop tests it after each set and each ROM.
  bool stopRequested = false;
  // A Cancel noticed while the interface was pumped inside a check; the
  // driver acts on it before the next game.
  bool cancelRequested = false;

  // Copies of the fix settings taken at the start; the answers to the
  // fix questions change these, never the settings.
  bool fixUnneeded = false;
  bool fixLength = false;
  bool fixCase = false;
  bool fixName = false;

  // One "answered for all" flag per kind of question.
  bool removalAnsweredForAll = false;
  bool resizeAnsweredForAll = false;
  bool caseAnsweredForAll = false;
  bool renameAnsweredForAll = false;

  // NeoGeo BIOS detection: the first three files lie in some ROM path's
  // "neogeo" set; and all four do.
  bool biosFound = false;
  bool biosWithImBiosFound = false;

  // Where the add-missing fix creates sets ("" without ROM paths), and
  // whether it makes a zip (true) or a folder: the kind of set in which
  // the current game's last ROM was found.
  std::string firstRomPath;
  bool createZipSet = true;

  // The user was told once that 0-CRC stand-ins are not made for want of
  // disk space.
  bool standInSpaceTold = false;

  // Files some check found needed, by their paths lowered; never reported
  // as unneeded anywhere.
  std::unordered_set<std::string> neededNames;

  // Entries found directly inside the ROM and sample paths that belong to
  // no game, and the pseudo-game whose name their questions bear.
  std::vector<FoundEntry> unknownEntries;
  GameSet unknownGame;

  // The progress dialog of the running scan; null outside a scan.
  ProgressDialog* progress = nullptr;
};

}  // namespace kestrel
