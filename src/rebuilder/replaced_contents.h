// Contents a rebuild finds in a destination set under a ROM's name. The
// same contents serve the placement as they are; other contents are
// replaced only once a backup of them was written to the backup folder's
// zip of that set and read back.
#pragma once

#include <cstdint>
#include <string>

#include "archive/zip_entry.h"

namespace kestrel {

struct RebuildState;

// Whether the contents there may make way for the ROM.
enum class Occupant {
  kSame,      // the ROM's contents already: nothing to write
  kBackedUp,  // other contents, now kept in a verified backup: may be replaced
  kKept,      // other contents with no backup (none asked for, or it failed): must stay
};

// For the loose file `path` of set `setName` in a folder destination,
// compared with a ROM of `size` and `crc`.
Occupant JudgeOccupantFile(RebuildState& state, const std::string& setName, const std::string& path,
                           uint32_t size, uint32_t crc);

// For the member `member` of set `setName`'s destination zip.
Occupant JudgeOccupantMember(RebuildState& state, const std::string& setName, const ZipEntry& member,
                             uint32_t size, uint32_t crc);

}  // namespace kestrel
