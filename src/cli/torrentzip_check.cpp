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
      if (files.zip) {
        if (IsTorrentZip(fs, files.zip->path)) continue;
        std::fprintf(out, "not TorrentZip: %s\n", files.zip->path.c_str());
      } else if (files.sevenZip) {
        // Named, never rewritten: Kestrel writes no 7z, and turning the set
        // into a zip is the user's choice.
        std::fprintf(out, "not TorrentZip: %s: a 7z set\n", files.sevenZip->path.c_str());
      } else {
        continue;
      }
      ++count;
    }
  }
  return count;
}

int PrintTorrentZipMisses(const TorrentZipMisses& misses, std::FILE* out) {
  std::vector<TorrentZipMiss> list = misses.List();
  for (const TorrentZipMiss& miss : list)
    std::fprintf(out, "not rewritten as TorrentZip: %s: %s\n", miss.path.c_str(), TorrentZipFaultText(miss.fault));
  return static_cast<int>(list.size());
}

}  // namespace kestrel
