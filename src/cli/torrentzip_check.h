// "scan --check-torrentzip": which zipped sets are not in TorrentZip's form;
// and the zips a --torrentzip run could not rewrite in it.
#pragma once

#include <cstdio>

#include "archive/torrent_zip.h"
#include "gamedb/game_set.h"
#include "platform/file_system.h"
#include "settings/settings_record.h"

namespace kestrel {

// Prints "not TorrentZip: PATH" for the zip of every selected set in the
// enabled ROM paths that is not in TorrentZip's form (see
// archive/torrent_zip.h), a damaged zip included, and "not TorrentZip:
// PATH: a 7z set" for a set kept as a 7z without a zip beside it (never
// rewritten); returns how many.
// The zips are read through `fs`: after a dry run, as the run left them.
int PrintNonTorrentZips(const GameList& database, const SettingsRecord& settings, std::FILE* out,
                        FileSystem& fs = RealFileSystem());

// Prints "not rewritten as TorrentZip: PATH: REASON" for every zip a
// --torrentzip run wrote but could not rewrite in the form, and returns
// how many: the run did not do all it was asked.
int PrintTorrentZipMisses(const TorrentZipMisses& misses, std::FILE* out);

}  // namespace kestrel
