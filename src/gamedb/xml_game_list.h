// Reads the XML forms of a game list: the output of MAME's -listxml
// (<mame>, <machine>), Logiqx datfiles (<datafile>, <game>) and MAME's
// software lists (<softwarelist>, <software>: each item a set, `cloneof`
// its parent, its ROMs and disks taken from every <part>'s <dataarea> and
// <diskarea>; a ROM's continuation entries, which carry no name, are not
// files of their own). The file is
// streamed through expat and never held whole, and the raw sets come out
// exactly as ParseDatfile would give them for the same list in the text
// form, so validation and the data cache work unchanged.
#pragma once

#include <string>

#include "app/user_interface.h"
#include "gamedb/game_set.h"
#include "gamedb/list_messages.h"
#include "gamedb/romless_machines.h"

namespace kestrel {

// Limits that keep a damaged or hostile file from costing unbounded memory.
inline constexpr size_t kMaxXmlValueLength = size_t{1} << 20;  // one attribute or description
inline constexpr int kMaxXmlDepth = 256;                       // lists need four levels

// Empties `rawGames`, then appends one set per <game> or <machine> element
// that has a name, a description and at least one ROM or disk, in file
// order. Of each such element it takes the attributes name, cloneof,
// sampleof (and romof when `enableRomOf`), the text of <description>, every
// <sample name>, every <rom> with name, size and crc (hexadecimal; a ROM
// without crc, as MAME writes "nodump" ones, has crc 0) and sha1, and every
// <disk> with name, sha1, merge, status and optional; every other element
// is skipped. The machines without a ROM or disk go to `romless` instead
// (when given).
// Only direct children of the game element count, as only depth 1 of a
// game block does in the text form. True when the whole document was read
// and a set was kept. A document that is not well-formed, is cut off,
// declares entities, nests deeper than kMaxXmlDepth or holds a value
// longer than kMaxXmlValueLength is refused: a line of `messages` names the
// file, the line and the fault, and the result is false. Cancel gives false
// too.
bool ParseXmlGameList(GameList& rawGames, const std::string& path, ProgressDialog& progress, bool enableRomOf,
                      ListMessages& messages, RomlessMachines* romless = nullptr);

}  // namespace kestrel
