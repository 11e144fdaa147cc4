// "scan --check-torrentzip": which zipped sets are not in TorrentZip's form.
#pragma once

#include <cstdio>

#include "gamedb/game_set.h"
#include "platform/file_system.h"
#include "settings/settings_record.h"

namespace kestrel {

// Prints "not TorrentZip: PATH" for the zip of every selected set in the
// enabled ROM paths that is not in TorrentZip's form (see
// archive/torrent_zip.h), a damaged zip included, and returns how many.
// The zips are read through `fs`: after a dry run, as the run left them.
int PrintNonTorrentZips(const GameList& database, const SettingsRecord& settings, std::FILE* out,
                        FileSystem& fs = RealFileSystem());

}  // namespace kestrel
