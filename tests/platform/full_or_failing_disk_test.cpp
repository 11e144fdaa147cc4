#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/disk_space.h"
#include "platform/file_replacement.h"
#include "support/faulty_file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::FileOperation;

// A replacement that fails at any step leaves the old file as it was and no
// temporary file beside it; a failed creation is not tried again, and the
// disk is only asked to sync when the caller wants it.
TEST(FullOrFailingDiskTest, ReplacementLeavesTheOldFileAndNoTemporaryFile) {
  testing::TempFolder dir;
  std::vector<std::string> seen;
  for (FileOperation step : {FileOperation::kCreate, FileOperation::kWrite, FileOperation::kSync,
                             FileOperation::kReplace}) {
    for (bool sync : {true, false}) {
      testing::WriteFile(dir / "set.dat", "old");
      testing::FaultyFileSystem disk;
      disk.Fail({step});
      bool replaced = ReplaceFile(disk, dir / "SET.DAT", "new", sync);
      seen.push_back(std::to_string(replaced) + testing::ReadFile(dir / "set.dat") +
                     std::to_string(ListFolder(dir.path()).size()) +
                     std::to_string(disk.CallsSeen(FileOperation::kCreate)));
    }
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"0old11", "0old11", "0old11", "0old11", "0old11", "1new11", "0old11",
                                            "0old11"}));
  FileReplacement early(RealFileSystem());
  EXPECT_TRUE(early.Create(dir / "set.dat"));
  EXPECT_FALSE(early.Commit());  // not closed yet
  EXPECT_TRUE(early.Close() && !early.Close() && early.Commit() && !early.Write("x", 1));
}


// A write must leave 1 GiB and 5 % of the disk free, exactly that much
// being enough; a write larger than the free space never fits.
TEST(FullOrFailingDiskTest, KeepsTheLargerReserveFreeWithExactlyThatEnough) {
  constexpr uint64_t kGiB = uint64_t{1} << 30;
  std::vector<bool> fits;
  for (uint64_t bytes : {kGiB, kGiB + 1}) fits.push_back(LeavesRoomAfter({10 * kGiB, 2 * kGiB}, bytes));
  for (uint64_t bytes : {kGiB, kGiB + 1}) fits.push_back(LeavesRoomAfter({100 * kGiB, 6 * kGiB}, bytes));
  fits.push_back(LeavesRoomAfter({10 * kGiB, kGiB}, 3 * kGiB));
  EXPECT_EQ(fits, (std::vector<bool>{true, false, true, false, false}));
}

}  // namespace
}  // namespace kestrel
