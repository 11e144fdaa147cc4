// The ROMs of one game in one set on disk: present, spelled right, of the
// right length and checksum; files under a wrong name; 0-CRC stand-ins.
#pragma once

#include <string>

#include "gamedb/game_set.h"
#include "scanner/scan_context.h"
#include "report/scan_results.h"

namespace kestrel {

// Which set of the game's a ROM set check looks at.
enum class SetRole {
  kOwnSet,     // the set of the game's name
  kParentSet,  // a clone's parent's set, in split or merged sets
  kBiosSet,    // the game's BIOS set, unless full non-merged
  kDeviceSet,  // the set of a device the game uses, unless full non-merged
};

// Checks the game's ROMs against the set at `setPath`. ROMs found in a
// parent's or BIOS set count for the game, but such a set's other files
// are not the game's business, and no stand-ins are made there. A BIOS or
// device set is looked at only for the ROMs it holds, under its names for
// them (`device` names the device whose set it is). The findings go into
// `scan`.
void CheckRomSet(ScanContext& context, GameSet& game, SetScan& scan, const std::string& setPath,
                 SetRole role, const GameSet* device = nullptr);

// Notes what the zip at `setPath` holds as the parent's zip in `scan`, for
// MAME's verdict alone: MAME looks for a clone's ROMs in its parent's zip
// even where the list keeps no such parent, one without ROMs of its own.
void NoteUnlistedParentZip(ScanContext& context, const std::string& setPath, SetScan& scan);

}  // namespace kestrel
