// How full a file system is, and whether a write of some size would leave
// it with room to breathe.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrel {

struct DiskSpace {
  uint64_t total = 0;      // size of the file system, in bytes
  uint64_t available = 0;  // bytes this process may still write
};

// The file system that holds `path` (found without case); nothing when it
// cannot be asked.
std::optional<DiskSpace> QueryDiskSpace(std::string_view path);

// True when writing `bytes` leaves at least 1 GiB and 5 % of the file
// system's size free.
bool LeavesRoomAfter(const DiskSpace& space, uint64_t bytes);

}  // namespace kestrel
