#include <gtest/gtest.h>

#include <vector>

#include "platform/disk_space.h"

namespace kestrel {
namespace {

// A write must leave 1 GiB and 5 % of the disk free, exactly that much
// being enough; a write larger than the free space never fits.
TEST(DiskRoomTest, KeepsTheLargerReserveWithExactlyThatEnough) {
  constexpr uint64_t kGiB = uint64_t{1} << 30;
  std::vector<bool> fits;
  for (uint64_t bytes : {kGiB, kGiB + 1}) fits.push_back(LeavesRoomAfter({10 * kGiB, 2 * kGiB}, bytes));
  for (uint64_t bytes : {kGiB, kGiB + 1}) fits.push_back(LeavesRoomAfter({100 * kGiB, 6 * kGiB}, bytes));
  fits.push_back(LeavesRoomAfter({10 * kGiB, kGiB}, 3 * kGiB));
  EXPECT_EQ(fits, (std::vector<bool>{true, false, true, false, false}));
}

}  // namespace
}  // namespace kestrel
