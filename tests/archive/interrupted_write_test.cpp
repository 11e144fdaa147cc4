#include "archive/interrupted_write.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zip.h>

#include "archive/zip_fixtures.h"
#include "support/faulty_file_system.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::Texts;
using testing::WriteFile;

class InterruptedWriteTest : public testing::ZipTest {};

Texts Names(const std::string& folder) {
  Texts names;
  for (const FolderEntry& entry : ListFolder(folder)) names.push_back(entry.name);
  return names;
}

// Lists the archive's folder (the first of the pair) into the second while
// zip writing is busy with it, and cancels the write.
int ListFolderAndCancel(zip_t*, void* state) {
  auto* watch = static_cast<std::pair<std::string, Texts>*>(state);
  watch->second = Names(watch->first);
  return 1;
}

// The temporary file is caught while zip writing has it open, which is
// where a killed write leaves it; the name pattern must fit it.
TEST_F(InterruptedWriteTest, RecognisesTheTemporaryFileOfZipWriting) {
  WriteFile(folder / "src/a.rom", testing::Text(100000, 1));
  int error = 0;
  zip_t* archive = zip_open((folder / "Set.zip").c_str(), ZIP_CREATE, &error);
  ASSERT_NE(archive, nullptr);
  zip_file_add(archive, "a.rom", zip_source_file(archive, (folder / "src/a.rom").c_str(), 0, -1), 0);
  std::pair<std::string, Texts> watch{folder.path(), {}};
  zip_register_cancel_callback_with_state(archive, ListFolderAndCancel, nullptr, &watch);
  EXPECT_NE(zip_close(archive), 0);
  zip_discard(archive);
  ASSERT_EQ(watch.second.size(), 2u);
  EXPECT_EQ(watch.second[0].substr(0, 8), "Set.zip.");
  EXPECT_TRUE(IsInterruptedWriteOf("set.ZIP", watch.second[0])) << watch.second[0];
  EXPECT_EQ(Names(folder.path()), Texts{"src"}) << "a cancelled write leaves nothing";
  for (const std::string name : {"set.zip", "set.zip.a1b2c", "set.zip.a1b2c3d", "set.zip.a1b2c_", "set.zip-a1b2c3",
                                 "other.zip.a1b2c3", "set.a1b2c3"}) {
    EXPECT_FALSE(IsInterruptedWriteOf("set.zip", name)) << name;
  }
}

// A leftover is never deleted, even beside an archive that reads whole
// (a cut-off copy of the user's own looks the same): it is kept in the
// backup folder, or stays where it is. A complete zip under such a name is
// a user's copy, not a partial write: it is not even found, and a direct
// call keeps it in the backup folder too. Only files are leftovers: a
// folder named like one is not, and a link or a file gone since it was
// found stays where it is.
TEST_F(InterruptedWriteTest, MovesLeftoversIntoTheBackupFolderAndDeletesNone) {
  std::string roms = folder / "roms/", backups = folder / "backup";
  WriteFile(roms + "whole.zip", testing::BuildZip({{"a.rom", "a"}}));
  WriteFile(roms + "whole.zip.x7k2pq", "PK partial");
  WriteFile(roms + "alone.zip.Ab12Cd", "PK alone");
  testing::MemberBytes damaged("a.rom", "a");
  damaged.crc = 1;
  WriteFile(roms + "damaged.zip", testing::BuildZip({damaged}));
  WriteFile(roms + "damaged.zip.000000", "PK beside damaged");
  WriteFile(roms + "broken.zip", "not a zip");
  WriteFile(roms + "broken.zip.b0b0b0", "PK beside broken");
  WriteFile(roms + "notes.txt.abcdef", "a user's file");
  WriteFile(roms + "folder.zip.abc123/x", "x");
  WriteFile(folder / "elsewhere", "PK");
  ASSERT_EQ(::symlink((folder / "elsewhere").c_str(), (roms + "link.zip.abc123").c_str()), 0);
  WriteFile(roms + "vanished.zip.abc123", "PK");
  const std::string older = testing::BuildZip({{"a.rom", "an older a"}});
  WriteFile(roms + "whole.zip.backup", older);

  testing::FaultyFileSystem disk;
  disk.Vanish("*vanished.zip.abc123");
  std::vector<InterruptedWrite> found = FindInterruptedWrites(RealFileSystem(), roms);
  found.push_back({roms + "whole.zip.backup", roms + "whole.zip"});
  Texts outcomes;
  for (const InterruptedWrite& leftover : found) {
    bool moved = ClearInterruptedWrite(disk, backups, leftover).outcome == LeftoverOutcome::kMovedToBackup;
    outcomes.push_back(leftover.path.substr(roms.size()) + (moved ? " moved" : " kept"));
  }
  EXPECT_EQ(outcomes, (Texts{"alone.zip.Ab12Cd moved", "broken.zip.b0b0b0 moved", "damaged.zip.000000 moved",
                             "link.zip.abc123 kept", "vanished.zip.abc123 kept", "whole.zip.x7k2pq moved",
                             "whole.zip.backup moved"}));
  EXPECT_EQ(found[5].archivePath, roms + "whole.zip");
  EXPECT_EQ(Names(roms), (Texts{"broken.zip", "damaged.zip", "folder.zip.abc123", "link.zip.abc123",
                                "notes.txt.abcdef", "vanished.zip.abc123", "whole.zip"}));
  Texts kept;
  for (const std::string& name : Names(backups)) kept.push_back(name + "=" + ReadFile(backups + "/" + name));
  EXPECT_EQ(kept, (Texts{"alone.zip.Ab12Cd=PK alone", "broken.zip.b0b0b0=PK beside broken",
                         "damaged.zip.000000=PK beside damaged", "whole.zip.backup=" + older,
                         "whole.zip.x7k2pq=PK partial"}));

  // Without a backup folder a leftover that may be the only copy stays.
  WriteFile(roms + "alone.zip.zzzzzz", "PK alone");
  EXPECT_EQ(ClearInterruptedWrite(RealFileSystem(), "", {roms + "alone.zip.zzzzzz", roms + "alone.zip"}).outcome,
            LeftoverOutcome::kKept);
  EXPECT_TRUE(PathExists(roms + "alone.zip.zzzzzz"));
}

}  // namespace
}  // namespace kestrel
