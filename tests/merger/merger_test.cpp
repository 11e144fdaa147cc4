// The merger on real folders and zips in two ROM paths.
#include <gtest/gtest.h>

#include <filesystem>

#include "gamedb/game_list_file.h"
#include "gamedb/validate_games.h"
#include "merger/merger_fixture.h"
#include "merger/set_locator.h"
#include "platform/file_system.h"
#include "support/bios_family.h"
#include "support/crc_data.h"
#include "support/faulty_file_system.h"

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
  std::string entries;
  for (const auto& [path, bytes] : Snapshot()) entries += path + " ";
  EXPECT_EQ(entries, "roms1 roms1/pacman.zip roms1/single.zip roms2 roms2/galaxian.zip ");
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

std::vector<std::string> FailedParents(const MergeOutcome& outcome) {
  std::vector<std::string> parents;
  for (const FailedFamily& failed : outcome.failed) parents.push_back(failed.parent);
  return parents;
}

// A disk that fails under a run: a family whose zip fails keeps every file
// it had and no work folder; it is counted failed with the set and the
// reason named, also when the user chose to stop there. The others go on.
TEST_F(MergerTest, ADiskFaultFailsOnlyTheFamiliesItTouchesAndLeavesTheirOldSetsByteForByte) {
  AddStandardGames();
  WriteSplitCollection();
  const std::string kWhy = ": the disk may be full, or a zip it copies from damaged";
  Files before;
  auto runOn = [&](MergeButton button, const std::vector<Fault>& faults, bool full = false) {
    before = Snapshot();
    FaultyFileSystem disk;
    for (const Fault& fault : faults) disk.Fail(fault);
    if (full) disk.FillDiskAfter(0);
    return Run(button, disk);
  };
  // A full disk fails every family and changes nothing.
  ui.messageAnswers = {kResultNo, kResultNo};
  MergeOutcome outcome = runOn(MergeButton::kMerge, {}, true);
  EXPECT_EQ(FailedParents(outcome), (std::vector<std::string>{"galaxian", "pacman"}));
  EXPECT_TRUE(outcome.handled.empty());
  EXPECT_EQ(Snapshot(), before);
  ui.messages.clear();

  // The disk fills up at the very end of every zip of the pacman family:
  // the new archive is written but never takes its place.
  const std::vector<Fault> failPacmanCommits = {{FileOperation::kReplace, "*/pacman*"},
                                                {FileOperation::kReplace, "*/puckman*"}};
  ui.messageAnswers = {kResultNo};
  outcome = runOn(MergeButton::kMerge, failPacmanCommits);
  EXPECT_EQ(outcome.handled, std::vector<std::string>{"galaxian"});
  EXPECT_EQ(outcome.failed,
            (std::vector<FailedFamily>{{"pacman", "can't write the new '" + path1 + "pacman.zip'" + kWhy}}));
  EXPECT_EQ(ui.MessageTexts(),
            std::vector<std::string>{"Error While Zipping !\n\nDo You Want To Stop Merging Process ?"});
  ExpectUnchangedBut(before, "gala");
  EXPECT_EQ(ZipContents(path2 + "galaxian.zip"), MergedFiles("galaxian"));

  // Unmerging: the clone sets are written, the parent's fails; none of the
  // family's sets changes. Yes ends the run, the family still counted.
  ui.messageAnswers = {kResultYes};
  outcome = runOn(MergeButton::kUnmerge, failPacmanCommits);
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.failed,
            (std::vector<FailedFamily>{{"pacman", "can't write the new '" + path2 + "pacmanf.zip'" + kWhy}}));
  EXPECT_EQ(ui.messages.size(), 2u);
  ExpectUnchangedBut(before, "gala");

  // A new set is read back before any old one goes, and a clone's zip may
  // list and then fail to read when its members are copied: either fails
  // the family and changes nothing of it.
  for (const Fault& fault : {Fault{FileOperation::kOpen, "*/puckman.zip", 2},
                             Fault{FileOperation::kOpen, "*/pacman.kpw/new.zip"}}) {
    outcome = runOn(MergeButton::kMerge, {fault});
    EXPECT_EQ(FailedParents(outcome), std::vector<std::string>{"pacman"}) << fault.pathPattern;
    ExpectUnchangedBut(before, "gala");
  }
  EXPECT_NE(outcome.failed.at(0).reason.find("does not read back"), std::string::npos) << outcome.failed[0].reason;
}

// Every family reads its BIOS set; a damaged one is told of once per run
// all the same.
TEST_F(MergerTest, ADamagedBiosZipIsToldOfOncePerRun) {
  WriteFile(root / "list.dat", BiosFamilyXml());
  auto progress = OpenProgressDialog(&ui, "");
  GameList raw;
  ListMessages listMessages;
  ASSERT_TRUE(ParseGameList(raw, root / "list.dat", *progress, false, listMessages));
  ASSERT_TRUE(ValidateGames(raw, database, *progress, kShowSetErrors, listMessages));
  // The BIOS sets in the second ROM path, so that a BIOS ROM is looked for
  // beyond the game's own path.
  for (const auto& [name, members] : BiosFamilyCollection(1))
    WriteZip(name.rfind("bios", 0) == 0 ? path2 : path1, name, members);
  WriteFile(path2 + "biosb.zip", "PK\x03\x04 not really a zip");
  auto told = [&] {
    int count = 0;
    for (const std::string& text : ui.MessageTexts())
      count += text.rfind("Corrupt Zipfile:\n\n" + path2 + "biosb.zip\n", 0) == 0 ? 1 : 0;
    return count;
  };
  Run(MergeButton::kUnmerge);
  EXPECT_EQ(told(), 1);
  Run(MergeButton::kUnmerge);
  EXPECT_EQ(told(), 2);
  EXPECT_EQ(ReadFile(path2 + "biosb.zip"), "PK\x03\x04 not really a zip");
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
  SetLocator locator(RealFileSystem());
  const std::string folder = root.path();
  EXPECT_EQ(locator.FindZip(folder, "pacman"), folder + "pacman.zip");
  EXPECT_EQ(locator.FindZip(folder, "PACMAN"), folder + "Pacman.zip");
  EXPECT_EQ(locator.FindFolder(folder, "single"), std::nullopt);
  EXPECT_EQ(locator.FindZip(folder, "galaxian"), folder + "GALAXIAN.ZIP");
  EXPECT_EQ(locator.FindFolder(folder, "galaxian.zip"), folder + "galaxian.zip");
}

}  // namespace
}  // namespace kestrel::testing
