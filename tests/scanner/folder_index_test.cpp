#include "scanner/folder_index.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "scanner/scan_fixture.h"

namespace kestrel::testing {
namespace {

TEST(FolderIndexTest, FindsNamesWithoutCaseAndSeesEveryChangeOfAQuietFolder) {
  TempFolder root;
  WriteFile(root / "Pacman.zip", "z");
  WriteFile(root / "pacman.zip", "z");
  std::filesystem::create_directories(root / "Galaga");
  timespec old[2] = {{1000000000, 0}, {1000000000, 0}};  // a quiet folder
  ASSERT_EQ(::utimensat(AT_FDCWD, root.path().c_str(), old, 0), 0);
  FolderIndex index;

  EXPECT_EQ(index.Find(root.path(), "pacman.zip")->name, "pacman.zip");  // exact first
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
