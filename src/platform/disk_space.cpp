#include "platform/disk_space.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <string>

#include "platform/file_system.h"

namespace kestrel {

std::optional<DiskSpace> QueryDiskSpace(std::string_view path) {
  std::optional<std::string> real = FindPath(path);
  struct statvfs info;
  if (!real || ::statvfs(real->c_str(), &info) != 0) return std::nullopt;
  DiskSpace space;
  space.total = uint64_t(info.f_blocks) * info.f_frsize;
  space.available = uint64_t(info.f_bavail) * info.f_frsize;
  return space;
}

bool LeavesRoomAfter(const DiskSpace& space, uint64_t bytes) {
  constexpr uint64_t kGiB = uint64_t{1} << 30;
  uint64_t reserve = std::max(kGiB, space.total / 20);
  return space.available >= bytes && space.available - bytes >= reserve;
}

}  // namespace kestrel
