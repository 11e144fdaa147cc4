// One line of the scan results: what the results tree shows and the logfile
// holds. The kind classifies the finding; it decides when the line is shown
// and doubles as the index of the line's icon.
#pragma once

#include <cstdint>
#include <optional>
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

// What a line is about, field by field, for the CSV and JSON reports; the
// text says the same for a reader. Empty fields do not apply to the line.
struct FindingDetail {
  std::string set;       // the game's name; empty for a stand-alone line
  std::string parent;    // the game's parent
  std::string item;      // the ROM, sample or disk the line is about
  std::string itemType;  // "rom", "sample" or "disk"; empty for a line about a set or a file
  std::optional<uint32_t> expectedSize;
  std::optional<uint32_t> expectedCrc;
  std::optional<uint32_t> foundSize;
  std::optional<uint32_t> foundCrc;
  std::string path;  // the file, zip member or set on disk the line names
};

struct ResultLine {
  std::string text;
  ResultKind kind = kResultGameHeader;
  int level = kTopLevel;
  bool visible = false;  // result of the last visibility pass
  FindingDetail detail;
};

// The mark a line of a fixable finding ends with: none when the fix option
// is off, else " [fixed]" or " [not fixed]" for this item. The option, not the per-scan
// answers, decides, so items skipped after "No To All" read " [not fixed]".
std::string FixMark(bool fixOption, bool fixed);

}  // namespace kestrel
