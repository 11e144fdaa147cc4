// dir2dat: the datfile of the sets a collection holds, made from the files
// themselves, so that the collection scans clean against it.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "report/archive_integrity.h"
#include "report/logiqx_datfile.h"

namespace kestrel {

// The sets in `folders`: each zip or 7z (a set named after it, its members
// as ROMs) and each folder (a set named after it, its files as ROMs, its
// "NAME.chd" files as disks) at the top of a folder, sorted by name without
// case; other top-level files are no sets. Each ROM has the size, CRC-32 and SHA-1 of
// its decoded contents; a disk the SHA-1 its header gives. A set found
// again (in a later folder, or beside itself: its zip, 7z and folder are
// taken in that order, the scan's; names without case) takes only the
// files the first lacked, and one holding a file of the same
// name but other contents is named in `problems`: which copy counts is then
// the scanner's choice. Sets without a ROM or disk are left out. A zip or
// CHD that cannot be read whole is left out and named in `problems`, never
// guessed at.
std::vector<DatGame> DescribeFolderSets(FileSystem& fs, const std::vector<std::string>& folders,
                                        std::vector<ArchiveDamage>& problems);

}  // namespace kestrel
