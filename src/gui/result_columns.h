// The columns of the results table, read back from a result line's text:
// the lines are the logfile's own and stay exactly as written, so the table
// takes them apart rather than the scan writing a second form.
#pragma once

#include <string>
#include <string_view>

#include "report/result_line.h"

namespace kestrel {

// A game header "description [folder: set - parent: parent]" taken apart;
// a text of another form gives the whole text as the game.
struct HeaderColumns {
  std::string_view game;
  std::string_view set;
  std::string_view parent;  // empty for a game without a parent
};

// A finding "kind: subject [wrong: found] [right: expected]..." taken
// apart. Each field views the line; empty where the line has no such part.
struct FindingColumns {
  std::string_view finding;   // the words before ": ", e.g. "wrong checksum"
  std::string_view rom;       // a ROM, sample or disk name of the set
  std::string_view expected;  // what the game data list: [right:], [length:] [chksum:], [sha1:]
  std::string_view found;     // what is on disk: [wrong:], [version:]
  std::string_view path;      // a subject that is a path (holds '/')
};

HeaderColumns SplitHeader(std::string_view text);
FindingColumns SplitFinding(std::string_view text, ResultKind kind);

// The name a user knows a kind of finding by, for the filter.
const char* FindingKindName(ResultKind kind);

}  // namespace kestrel
