// Whether the shared NeoGeo BIOS lies in some ROM path, so that NeoGeo
// games need not carry its files in their own sets.
#pragma once

#include <string>
#include <vector>

#include "archive/zip_reader.h"
#include "platform/folder_index.h"
#include "scanner/scan_state.h"

namespace kestrel {

// Looks for each BIOS file, contents checked, in the "neogeo" set of every
// ROM path and sets the state's two BIOS flags.
void DetectNeoGeoBios(FileSystem& fs, FolderIndex& index, const std::vector<std::string>& romPaths, ZipHeaderCheck headerCheck,
                      ScanState& state);

}  // namespace kestrel
