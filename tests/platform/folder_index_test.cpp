#include "platform/folder_index.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/file_system.h"
#include "support/faulty_file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

// Names are found without case, the exact spelling and the kind asked for
// first; a listing never hides an entry the program wrote or shows one it
// removed, whether the folder was quiet or busy when it was listed; what
// other programs change is seen from the next round on. A busy folder is
// listed again once per change, not once per lookup, and within a round the
// disk is not asked at all.
TEST(FolderIndexTest, FindsNamesWithoutCaseAndSeesEveryChange) {
  testing::TempFolder root;
  testing::WriteFile(root / "Pacman.zip", "z");
  testing::WriteFile(root / "pacman.zip", "z");
  std::filesystem::create_directories(root / "Galaga");
  std::filesystem::create_directories(root / "galaga.zip");
  timespec old[2] = {{1000000000, 0}, {1000000000, 0}};  // a quiet folder
  ASSERT_EQ(::utimensat(AT_FDCWD, root.path().c_str(), old, 0), 0);
  testing::FaultyFileSystem disk;  // fails nothing; counts the listings
  FolderIndex index(disk);
  const std::string at = root.path();
  EXPECT_EQ(index.Find(at, "pacman.zip")->name + " " + index.Find(at, "PACMAN.ZIP")->path,
            "pacman.zip " + at + "Pacman.zip");
  EXPECT_TRUE(index.Find(at, "galaga")->isFolder);
  EXPECT_FALSE(index.Find(at, "galaga", EntryKind::kFile) || index.Find(at, "galaga.zip", EntryKind::kFile));
  EXPECT_FALSE(index.Find(at, "mspacman.zip"));

  // Within a round the listing is used as it is, also once a new round or
  // a change elsewhere found the folder unchanged; the next round sees what
  // another program changed.
  index.NextRound();
  testing::TempFolder elsewhere;
  ASSERT_TRUE(disk.CreateNewFile(elsewhere / "x"));
  EXPECT_TRUE(index.Find(at, "galaga"));
  const int asked = disk.CallsSeen(testing::FileOperation::kLookUp) + disk.CallsSeen(testing::FileOperation::kList);
  testing::WriteFile(root / "MsPacman.zip", "z");
  EXPECT_FALSE(index.Find(at, "mspacman.zip"));
  EXPECT_EQ(disk.CallsSeen(testing::FileOperation::kLookUp) + disk.CallsSeen(testing::FileOperation::kList), asked);
  index.NextRound();
  EXPECT_EQ(index.Find(at, "mspacman.zip")->name, "MsPacman.zip");
  std::filesystem::rename(root / "Galaga", root / "galaga");
  index.NextRound();
  EXPECT_EQ(index.Find(at, "GALAGA", EntryKind::kFolder)->name, "galaga");
  // Now busy: every change of the program's own within the same second is
  // seen too, by looking again at the names it changed, not by listing the
  // folder; also a change through another spelling of the folder or a link
  // to it, and one that named the entry in another case.
  ASSERT_TRUE(disk.DeleteFile(root / "pacman.zip"));
  const int listed = disk.CallsSeen(testing::FileOperation::kList);
  EXPECT_EQ(index.Find(at, "pacman.zip")->name, "Pacman.zip");
  EXPECT_TRUE(index.Find(at, "mspacman.zip"));
  ASSERT_TRUE(disk.DeleteFile(root / "PACMAN.ZIP"));
  EXPECT_FALSE(index.Find(at, "pacman.zip"));
  std::filesystem::create_directory_symlink(root.path(), root / "link");
  ASSERT_TRUE(disk.CreateNewFile(root / "link/pacman.zip"));
  EXPECT_EQ(index.Find(at, "PACMAN.zip")->name, "pacman.zip");
  ASSERT_TRUE(disk.CreateFolder(root / "LINK/Dkong/"));
  EXPECT_TRUE(index.Find(at, "dkong", EntryKind::kFolder));
  ASSERT_TRUE(disk.CreateNewFile(root / "read:me.txt"));  // only '/' parts a path on this disk
  EXPECT_TRUE(index.Find(at, "read:me.txt"));
  EXPECT_EQ(disk.CallsSeen(testing::FileOperation::kList), listed);
  // What another program changed beside the program's own changes
  // elsewhere is seen by listing the folder again.
  testing::WriteFile(root / "frogger.zip", "z");
  ASSERT_TRUE(disk.CreateNewFile(elsewhere / "y"));
  EXPECT_TRUE(index.Find(at, "frogger.zip"));
  EXPECT_FALSE(index.Find(root / "missing/", "x"));
  // No folder holds nothing: the lookup does not fall back to the root or
  // the current folder.
  EXPECT_TRUE(index.Find("/", "tmp"));
  EXPECT_FALSE(index.Find("", "tmp"));
}

// A link counts as what it points to, and not at all when it points
// nowhere, as in ListFolder; Entries gives the whole listing in byte-wise
// order, as ListFolder does.
TEST(FolderIndexTest, KnowsEachEntrysKindAndListsTheFolderInOrder) {
  testing::TempFolder root;
  std::filesystem::create_directories(root / "sets/pacman");
  testing::WriteFile(root / "sets/b.zip", "z");
  testing::WriteFile(root / "sets/B.zip", "z");
  std::filesystem::create_directory_symlink(root / "sets/pacman", root / "sets/linked");
  std::filesystem::create_symlink(root / "sets/b.zip", root / "sets/a.zip");
  std::filesystem::create_symlink(root / "nowhere", root / "sets/dangling.zip");
  FolderIndex index(RealFileSystem());
  const std::string at = root / "sets/";
  EXPECT_TRUE(index.Find(at, "LINKED", EntryKind::kFolder));
  EXPECT_TRUE(index.Find(at, "a.zip", EntryKind::kFile));
  EXPECT_FALSE(index.Find(at, "dangling.zip"));
  std::string names;
  for (const IndexedName& entry : index.Entries(root / "SETS")) names += entry.name + (entry.isFolder ? "/ " : " ");
  EXPECT_EQ(names, "B.zip a.zip b.zip linked/ pacman/ ");
}

}  // namespace
// A listing is brought up to date from the paths changed since it was
// taken, as long as the log still holds every one of them.
TEST(RecentChangesTest, GivesThePathsChangedSinceAChangeWhileItHoldsThemAll) {
  RecentChanges changes;
  changes.Note("/r/a.zip.tmp", "/r/a.zip");
  changes.Note("/r/b.zip");
  EXPECT_EQ(changes.Since(1)->paths, std::vector<std::string>{"/r/b.zip"});
  EXPECT_EQ(changes.Since(0)->paths, (std::vector<std::string>{"/r/a.zip.tmp", "/r/a.zip", "/r/b.zip"}));
  EXPECT_EQ(changes.Since(2)->upTo, 2u);
  EXPECT_FALSE(changes.Since(3));
  for (size_t i = 0; i < RecentChanges::kKept; ++i) changes.Note("/r/c.zip");
  EXPECT_FALSE(changes.Since(1));
  EXPECT_EQ(changes.Since(2)->paths.size(), RecentChanges::kKept);
}

}  // namespace kestrel
