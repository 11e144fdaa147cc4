#include "scanner/folder_index.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "support/temp_folder.h"

namespace kestrel::testing {
namespace {

void MakeOld(const std::string& folder) {
  timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, folder.c_str(), times, 0), 0);
}

TEST(FolderIndexTest, FindsNamesWithoutCaseAndSeesEveryChangeOfAQuietFolder) {
  TempFolder root;
  WriteFile(root / "Pacman.zip", "z");
  WriteFile(root / "pacman.zip", "z");
  std::filesystem::create_directories(root / "Galaga");
  MakeOld(root.path());
  FolderIndex index;

  EXPECT_EQ(index.Find(root.path(), "pacman.zip")->name, "pacman.zip");  // exact first
  EXPECT_EQ(index.Find(root.path(), "PACMAN.ZIP")->name.size(), 10u);
  EXPECT_TRUE(index.Find(root.path(), "galaga")->isFolder);
  EXPECT_FALSE(index.Find(root.path(), "mspacman.zip"));

  // The listing of the quiet folder is reused until the folder changes.
  WriteFile(root / "MsPacman.zip", "z");
  EXPECT_EQ(index.Find(root.path(), "mspacman.zip")->name, "MsPacman.zip");
  std::filesystem::rename(root / "Galaga", root / "galaga");
  EXPECT_EQ(index.Find(root.path(), "GALAGA")->name, "galaga");
  EXPECT_FALSE(index.Find(root / "missing/", "x"));
}

}  // namespace
}  // namespace kestrel::testing
