// Where a set lives in a folder: the zip named after it, the 7z named after
// it (which MAME reads too, after the zip), or the folder of its name. Every tool finds sets through FindSetFiles, so that the scan,
// the merger and the repairs agree on which file is a set's.
#pragma once

#include <optional>
#include <string>

#include "platform/folder_index.h"

namespace kestrel {

struct SetFiles {
  std::optional<IndexedName> zip;     // the file `setName` + ".zip", found without case
  std::optional<IndexedName> sevenZip;  // the file `setName` + ".7z", found without case
  std::optional<IndexedName> folder;  // the folder `setName`, found without case (beside a zip, too)
};

// The zip, 7z and folder of the set `setName` in `folder`, each found without
// case, an exact spelling preferred; neither when `setName` is no plain
// file name.
SetFiles FindSetFiles(FolderIndex& index, const std::string& folder, const std::string& setName);

// The name a set's zip has as listed: MAME looks for the extension in
// lower case, too.
inline std::string ListedZipName(const std::string& setName) { return setName + ".zip"; }
inline std::string ListedSevenZipName(const std::string& setName) { return setName + ".7z"; }

}  // namespace kestrel
