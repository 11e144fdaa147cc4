// The zips of machines the game database leaves out for want of ROMs of
// their own (see RomlessMachines). MAME still judges such a machine by its
// devices' ROMs, and looks for them in the machine's zip and its parent's
// too; so its verdict reads them, as MAME sees them: by exact name, a zip's
// members by their contents. (A clone's ROMs in such a parent's zip are
// noted by the scan.)
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "gamedb/romless_machines.h"
#include "platform/file_system.h"
#include "report/scan_results.h"
#include "settings/settings_record.h"

namespace kestrel {

// The contents (ContentKey) of the members of each romless machine's zip,
// by the machine's name; a machine without a zip has no entry.
using RomlessZips = std::unordered_map<std::string, std::vector<uint64_t>>;

// Reads `NAME.zip`, spelled as listed, in every ROM path for each machine
// of `romless`. A zip that cannot be read adds nothing.
RomlessZips ReadRomlessZips(FileSystem& fs, const PathList& romPaths, const RomlessMachines& romless);

// The contents of the zip of the romless machine `name`; empty when none.
const std::vector<uint64_t>& RomlessZipOf(const RomlessZips& zips, const std::string& name);

}  // namespace kestrel
