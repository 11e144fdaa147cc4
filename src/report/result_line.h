// One line of the scan results: what the results tree shows and the logfile
// holds. The kind classifies the finding; it decides when the line is shown
// and doubles as the index of the line's icon.
#pragma once

#include <string>

namespace kestrel {

enum ResultKind : int {
  kResultWrongChecksum = 0,
  kResultMissingRom = 1,
  kResultBadDump = 2,
  kResultWrongLength = 3,
  kResultMissingSample = 4,
  kResultMissingSetHeader = 5,  // header of a game whose set was not found
  kResultGameHeader = 6,
  kResultMissingGame = 7,
  kResultRomCase = 8,
  kResultSampleCase = 9,
  kResultGameCase = 10,
  kResultUnneeded = 11,
  kResultRomName = 12,
  kResultGameName = 13,
  // A ROM or set that is there but cannot be read or verified.
  kResultUnreadable = 14,
  // MAME's verdict on the game's ROM set and sample set, after its
  // findings: shown with them, never a reason to show the game.
  kResultRomSetVerdict = 15,
  kResultSampleSetVerdict = 16,
};

// Levels of a line: a game header or stand-alone line, or a finding under
// the header before it.
constexpr int kTopLevel = 0;
constexpr int kChildLevel = 1;

struct ResultLine {
  std::string text;
  ResultKind kind = kResultGameHeader;
  int level = kTopLevel;
  bool visible = false;  // result of the last visibility pass
};

// The mark a line of a fixable finding ends with: none when the fix option
// is off, else " [fixed]" or " [not fixed]" for this item. The option, not the per-scan
// answers, decides, so items skipped after "No To All" read " [not fixed]".
std::string FixMark(bool fixOption, bool fixed);

}  // namespace kestrel
