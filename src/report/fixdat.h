// A fixdat: the datfile of exactly what a scan found the collection to lack,
// for finding the files elsewhere. It reads back as a game list.
#pragma once

#include <vector>

#include "gamedb/game_set.h"
#include "report/logiqx_datfile.h"
#include "report/scan_results.h"
#include "settings/settings_record.h"

namespace kestrel {

// One game per selected set that lacks a good copy of some ROM or disk (with
// the ROM scan on), in database order, holding only those: a ROM not found,
// unreadable, or (with the checksum check) of the wrong CRC-32 or SHA-1; a
// disk missing, wrong or unreadable. ROMs and disks the set may lack (never
// dumped, optional) are left out, and so are a device's ROMs under the
// machines that use them: the device's own game lists them. A set names its
// parent (cloneof) and its ROM source (romof) only when that set is in the
// fixdat too, so that the fixdat loads as a list on its own. Samples are
// not listed: a list game needs a ROM or a disk.
std::vector<DatGame> BuildFixdat(const GameList& database, const ScanResults& scanResults,
                                 const SettingsRecord& settings);

}  // namespace kestrel
