// What lies directly inside one add path, read once per scan by the
// add-missing fix instead of once per missing ROM: the members of its zips
// by CRC-32 and size, and its loose files by size, each file's CRC-32 read
// the first time a ROM of its size is looked for.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "archive/zip_entry.h"

namespace kestrel {

struct AddPathContents {
  struct LooseFile {
    std::string path;
    std::optional<uint32_t> crc;  // read on first use
  };
  // The first member (in listing order) of each CRC-32 and size.
  std::map<std::pair<uint32_t, uint64_t>, ZipEntry> members;
  // Files that do not read as zips, by size, in listing order.
  std::multimap<uint64_t, LooseFile> looseFiles;
};

}  // namespace kestrel
