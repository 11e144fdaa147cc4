#include "cli/torrentzip_check.h"

#include "archive/torrent_zip.h"
#include "platform/file_system.h"
#include "platform/folder_index.h"
#include "platform/set_files.h"
#include "settings/enabled_paths.h"

namespace kestrel {

int PrintNonTorrentZips(const GameList& database, const SettingsRecord& settings, std::FILE* out, FileSystem& fs) {
  FolderIndex index(fs);
  int count = 0;
  for (const std::string& folder : EnabledPaths(settings.romPaths)) {
    for (const GameSet& game : database) {
      if (!game.selected) continue;
      SetFiles files = FindSetFiles(index, folder, game.name);
      if (!files.zip || IsTorrentZip(fs, files.zip->path)) continue;
      std::fprintf(out, "not TorrentZip: %s\n", files.zip->path.c_str());
      ++count;
    }
  }
  return count;
}

}  // namespace kestrel
