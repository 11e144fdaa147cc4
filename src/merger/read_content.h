// Reading what the family's files hold, once per family: zip listings and
// the CRC-32 of loose files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "archive/zip_entry.h"
#include "merger/merge_run.h"
#include "merger/set_content.h"

namespace kestrel {

// The members of the zip `zipPath` (as spelled on disk), listed once per
// family, a damaged one told of once per run; nullopt when it is no
// readable zip.
const std::optional<ZipEntryList>& ListZip(MergeRun& run, const std::string& zipPath);

// The size and CRC-32 of the loose file `path`, read once per family;
// nullopt when it cannot be read.
std::optional<Content> LooseFileContent(MergeRun& run, const std::string& path);

// The regular files directly in the set folder `folder`, as spelled on
// disk, but its CHD files: disks are moved whole between set folders (see
// move_disks.h), never read, zipped or cleaned away with the ROMs. A folder
// inside a set folder is no part of the set.
std::vector<std::string> SetFolderFiles(MergeRun& run, const std::string& folder);

// Every regular file directly in `folder`, CHD files too.
std::vector<std::string> FolderFiles(MergeRun& run, const std::string& folder);

// What the sets `names` hold in every active ROM path, as zips and
// folders; a file that cannot be read adds nothing, and is added to
// `unreadable` (when given) unless it is there already.
ContentSet ContentOfSets(MergeRun& run, const std::vector<std::string>& names,
                         std::vector<std::string>* unreadable = nullptr);

inline Content ContentOf(const ZipEntry& entry) { return {entry.size, entry.crc}; }

}  // namespace kestrel
