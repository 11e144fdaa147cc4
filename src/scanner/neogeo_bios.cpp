#include "scanner/neogeo_bios.h"

#include "platform/paths.h"
#include "scanner/set_lookup.h"

namespace kestrel {
namespace {

bool FindBiosFile(FileSystem& fs, FolderIndex& index, const std::vector<std::string>& romPaths, ZipHeaderCheck headerCheck,
                  size_t file) {
  for (const std::string& path : romPaths) {
    std::string filePath = JoinPath(JoinPath(path, kNeoGeoSetName), kNeoGeoBiosFiles[file]);
    if (FindFileInSet(fs, index, headerCheck, filePath, true, kNeoGeoBiosCrcs[file], kNeoGeoBiosSize)) return true;
  }
  return false;
}

}  // namespace

void DetectNeoGeoBios(FileSystem& fs, FolderIndex& index, const std::vector<std::string>& romPaths, ZipHeaderCheck headerCheck,
                      ScanState& state) {
  bool found[4] = {};
  for (size_t file = 0; file < kNeoGeoBiosFiles.size(); ++file) found[file] = FindBiosFile(fs, index, romPaths, headerCheck, file);
  state.biosFound = found[0] && found[1] && found[2];
  state.biosWithImBiosFound = state.biosFound && found[3];
}

}  // namespace kestrel
