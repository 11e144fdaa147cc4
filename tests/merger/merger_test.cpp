// The merger on real folders and zips in two ROM paths.
#include <gtest/gtest.h>

#include <filesystem>

#include "merger/merger_fixture.h"
#include "merger/set_locator.h"
#include "platform/file_system.h"
#include "support/crc_data.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(MergerTest, MergesSplitZipsIntoOneZipPerFamilyAndRemovesTheOldSets) {
  AddStandardGames();
  WriteSplitCollection();
  MergeOutcome outcome = Run();
  EXPECT_EQ(outcome.handled, (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_TRUE(outcome.skipped.empty() && outcome.failed.empty() && !outcome.stopped);
  EXPECT_EQ(ZipContents(path1 + "pacman.zip"), MergedFiles("pacman"));
  EXPECT_EQ(ZipContents(path2 + "galaxian.zip"), MergedFiles("galaxian"));
  EXPECT_EQ(Entries(),
            (std::vector<std::string>{"roms1", "roms1/pacman.zip", "roms1/single.zip", "roms2", "roms2/galaxian.zip"}));
  EXPECT_EQ(ui.progressTexts,
            (std::vector<std::string>{"\n\n Merging Gameset:\tgalaxian", "\n\n Merging Gameset:\tpacman"}));

  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MergerTest, WithoutCleanSetOrRemoveOldOtherFilesAndOldSetsStay) {
  AddStandardGames();
  WriteSplitCollection();
  // An old merged zip with a file of no ROM and a stale copy of a ROM,
  // which the copy in the later path replaces.
  WriteZip(path1, "galaxian", {{"readme.txt", "keep me"}, {"g.1", "stale"}});
  WriteFolder(path1, "galaxian", {{"notes.txt", "keep me too"}});
  settings.mergeCleanSet = false;
  settings.mergeRemoveOld = false;
  Run();
  Files expected = MergedFiles("galaxian");
  expected["readme.txt"] = "keep me";
  EXPECT_EQ(ZipContents(path2 + "galaxian.zip"), SplitFiles("galaxian")) << "found first in path 1";
  EXPECT_EQ(ZipContents(path1 + "galaxian.zip"), expected);
  EXPECT_EQ(Backup("galaxian"), (Files{{"g.1", "stale"}})) << "replaced, so kept in a backup";
  EXPECT_EQ(ReadFile(path1 + "galaxian/notes.txt"), "keep me too");
  EXPECT_TRUE(FileExists(path2 + "galaxa.zip"));
  EXPECT_TRUE(FolderExists(path2 + "pacman"));
  settings.mergeMode = SetLayout::kSplit;  // splitting keeps them as well
  Run();
  EXPECT_TRUE(FolderExists(path2 + "pacman"));
}

// A ROM file stored with the complement of its checksum, as some dumps are
// listed, is that ROM: the parent's copy moves into the new set, and the
// clone's exact copy, other bytes after all, goes into the backup.
TEST_F(MergerTest, AFileWithTheComplementedChecksumIsTheRom) {
  AddGame("galaxian", {{"g.1", RomData("g.1")}});
  AddGame("galaxa", {{"g.1", RomData("g.1")}, {"ga.2", RomData("ga.2")}}, "galaxian");
  Link();
  const std::string tilde = DataWithCrc(RomData("g.1").size(), ~CrcOf(RomData("g.1")));
  WriteZip(path1, "galaxian", {{"g.1", tilde}});
  WriteZip(path1, "galaxa", {{"g.1", RomData("g.1")}, {"ga.2", RomData("ga.2")}});
  Run();
  EXPECT_EQ(ZipContents(path1 + "galaxian.zip"), (Files{{"g.1", tilde}, {"ga.2", RomData("ga.2")}}));
  EXPECT_FALSE(FileExists(backupFolder + "galaxian.zip"));
  EXPECT_EQ(Backup("galaxa"), (Files{{"g.1", RomData("g.1")}})) << "the other spelling of the content is kept";
}

// Writes the archive and then reports a failure, as a disk that fills up
// at the very end would, for every set of the pacman family.
bool FailForPacman(ZipLibrary& library, const std::string& archive, const ZipChanges& changes) {
  bool written = ZipUpdate(library, archive, changes);
  return written && archive.find("/pacman") == std::string::npos && archive.find("/puckman") == std::string::npos;
}

// Writes the archive, then spoils the pacman family's: a write that claims
// success but leaves a zip that does not read.
bool SpoilPacman(ZipLibrary& library, const std::string& archive, const ZipChanges& changes) {
  if (!ZipUpdate(library, archive, changes)) return false;
  if (archive.find("/pacman") != std::string::npos) std::filesystem::resize_file(archive, 40);
  return true;
}

// A family whose zip fails keeps every file it had and no work folder; it
// is counted failed with the set and the reason named, also when the user
// chose to stop there. Only the galaxian family changes.
TEST_F(MergerTest, AFailureWhileZippingLeavesTheOldSetsByteForByteAndIsReported) {
  AddStandardGames();
  WriteSplitCollection();
  const std::string kWhy = ": the disk may be full, or a zip it copies from damaged";
  auto expectOnlyGalaxianChanged = [this](const Files& before) {
    Files after = Snapshot();
    for (const auto& [file, bytes] : before)
      if (file.find("gala") == std::string::npos) {
        EXPECT_EQ(after[file], bytes) << file;
      }
    for (const auto& [file, bytes] : after)
      EXPECT_TRUE(before.count(file) || file.find(".kpw") == std::string::npos) << "work folder left: " << file;
  };
  Files before = Snapshot();
  ui.messageAnswers = {kResultNo};
  MergeOutcome outcome = Run(MergeButton::kMerge, FailForPacman);
  EXPECT_EQ(outcome.handled, std::vector<std::string>{"galaxian"});
  EXPECT_EQ(outcome.failed,
            (std::vector<FailedFamily>{{"pacman", "can't write the new '" + path1 + "pacman.zip'" + kWhy}}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Error While Zipping !\n\nDo You Want To Stop Merging Process ?");
  expectOnlyGalaxianChanged(before);

  // Unmerging: the clone sets are written, the parent's fails; none of the
  // family's sets changes. Yes ends the run, the family still counted.
  before = Snapshot();
  ui.messageAnswers = {kResultYes};
  outcome = Run(MergeButton::kUnmerge, FailForPacman);
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.failed,
            (std::vector<FailedFamily>{{"pacman", "can't write the new '" + path2 + "pacmanf.zip'" + kWhy}}));
  EXPECT_EQ(ui.messages.size(), 2u);
  expectOnlyGalaxianChanged(before);

  // A new set is read back before any old one goes: one that does not read
  // fails its family and changes nothing of it.
  before = Snapshot();
  outcome = Run(MergeButton::kMerge, SpoilPacman);
  ASSERT_EQ(outcome.failed.size(), 1u);
  EXPECT_NE(outcome.failed[0].reason.find("does not read back"), std::string::npos) << outcome.failed[0].reason;
  expectOnlyGalaxianChanged(before);
}

// Sets are found without case, the exact spelling first, and only as the
// kind asked for: a stray file named like a set is no set folder.
TEST(SetLocatorTest, PrefersTheExactSpellingAndTheKindAskedFor) {
  TempFolder root;
  WriteFile(root / "Pacman.zip", "other");
  WriteFile(root / "pacman.zip", "set");
  WriteFile(root / "single", "a stray file");
  fs::create_directories(root / "galaxian.zip");
  WriteFile(root / "GALAXIAN.ZIP", "set");
  SetLocator locator;
  const std::string folder = root.path();
  EXPECT_EQ(locator.FindZip(folder, "pacman"), folder + "pacman.zip");
  EXPECT_EQ(locator.FindZip(folder, "PACMAN"), folder + "Pacman.zip");
  EXPECT_EQ(locator.FindFolder(folder, "single"), std::nullopt);
  EXPECT_EQ(locator.FindZip(folder, "galaxian"), folder + "GALAXIAN.ZIP");
  EXPECT_EQ(locator.FindFolder(folder, "galaxian.zip"), folder + "galaxian.zip");
}

}  // namespace
}  // namespace kestrel::testing
