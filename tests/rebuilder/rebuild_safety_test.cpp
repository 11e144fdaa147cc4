// What a rebuild may remove or overwrite, and what it must report: only
// contents that exist elsewhere, verified, ever go.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <utility>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "rebuilder/rebuild_fixture.h"
#include "support/faulty_file_system.h"
#include "support/stored_zip.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

// Contents of one length, so that a file of the wrong one passes a size check.
const std::string kA = "contents of a", kB = "contents of b", kOther = "contents of X";

using Texts = std::vector<std::string>;

class RebuildSafetyTest : public RebuildTest {
 protected:
  // The outcome's failures as "path: reason", in their order.
  static Texts Failures(const RebuildOutcome& outcome) {
    Texts texts;
    for (const RebuildFailure& failure : outcome.failures) texts.push_back(failure.path + ": " + failure.reason);
    return texts;
  }
  // The outcome's leftovers as "path" or "path -> where it was moved".
  static Texts Leftovers(const RebuildOutcome& outcome) {
    Texts texts;
    for (const RebuildLeftover& leftover : outcome.leftovers)
      texts.push_back(leftover.path + (leftover.movedTo.empty() ? "" : " -> " + leftover.movedTo));
    return texts;
  }
  // Sets the "encrypted" flag of the one member of a zip written by
  // WriteZip, as a zip program writes it for a member it encrypted without
  // a data descriptor.
  void MarkEncrypted(const std::string& zip) {
    std::string bytes = ReadFile(zip);
    bytes[6] |= 1;                                           // local header flags
    bytes[bytes.find(std::string("PK\1\2", 4)) + 8] |= 1;  // central header flags
    WriteFile(zip, bytes);
  }
};

TEST_F(RebuildSafetyTest, ReplacesOtherContentsOfARomsNameOnlyOnceABackupOfThemReadsBack) {
  AddGame("g", {{"r1", kA}, {"r2", kB}});
  Load();
  settings.rebuildRemoveSources = true;
  for (bool zip : {true, false}) {
    SCOPED_TRACE(zip ? "zip destination" : "folder destination");
    settings.rebuildZip = zip;
    settings.backupFolder = "";
    ClearDestination();
    fs::remove_all(root / "backup");
    std::string occupant = zip ? destination + "g.zip/r1" : destination + "g/r1";
    if (zip) {
      WriteZip(destination + "g.zip", {{"r1", kOther}, {"keep.txt", "mine"}});
    } else {
      WriteFile(destination + "g/r1", kOther);
      WriteFile(destination + "g/keep.txt", "mine");
    }
    WriteFile(source + "x1", kA);
    WriteFile(source + "x2", kB);
    Files kept = {{"g/keep.txt", "mine"}, {"g/r1", kOther}, {"g/r2", kB}};
    if (zip) kept = {{"g.zip:keep.txt", "mine"}, {"g.zip:r1", kOther}, {"g.zip:r2", kB}};

    // Without a backup folder the other contents stay, and so does the
    // source that would have replaced them.
    RebuildOutcome outcome = Rebuild();
    EXPECT_EQ(Failures(outcome),
              Texts{occupant + ": holds other contents under that name; they were kept, as no backup of them "
                               "could be made"});
    EXPECT_EQ(Tree(destination), kept);
    EXPECT_EQ(Tree(source), (Files{{"x1", kA}}));
    EXPECT_EQ(Log(), source + "x1\n\n" + source + "x2\n  -> g/r2\n\n");

    // With a backup folder, the other contents go to the backup zip of the
    // set first, whatever the backup option says.
    settings.backupFolder = root / "backup/";
    settings.makeBackups = false;
    outcome = Rebuild();
    EXPECT_TRUE(outcome.failures.empty()) << Failures(outcome).at(0);
    kept[zip ? "g.zip:r1" : "g/r1"] = kA;
    EXPECT_EQ(Tree(destination), kept);
    EXPECT_EQ(Tree(root / "backup/"), (Files{{"g.zip:r1", kOther}}));
    EXPECT_TRUE(Tree(source).empty());
  }
}

// Every occupant of the ROM's name is backed up, under numbered names,
// before the one ROM takes their place. A member whose header names the
// ROM's checksum but whose data does not read back is no copy of it, nor can
// it be backed up: it stays, named, and so does the source that holds the ROM.
TEST_F(RebuildSafetyTest, EveryOccupantOfTheRomsNameIsBackedUpAndADamagedOneStays) {
  AddGame("g", {{"r1", kA}});
  Load();
  settings.rebuildRemoveSources = true;
  settings.backupFolder = root / "backup/";
  WriteFile(destination + "g.zip", StoredZip({{"r1", kOther}, {"r1", kB}}));
  WriteFile(source + "x1", kA);
  EXPECT_TRUE(Failures(Rebuild()).empty());
  EXPECT_EQ(Tree(destination), (Files{{"g.zip:r1", kA}}));
  EXPECT_EQ(Tree(root / "backup/"), (Files{{"g.zip:r1", kOther}, {"g.zip:r1 (2)", kB}}));
  EXPECT_TRUE(Tree(source).empty());

  std::string damaged = StoredZip({{"r1", kA}});
  damaged[damaged.find(kA)] ^= 1;
  WriteFile(destination + "g.zip", damaged);
  WriteFile(source + "x1", kA);
  EXPECT_EQ(Failures(Rebuild()), Texts{destination + "g.zip/r1: holds other contents under that name; they were "
                                                     "kept, as no backup of them could be made"});
  EXPECT_EQ(Tree(source), (Files{{"x1", kA}})) << "the only good copy is gone";
  EXPECT_EQ(ReadFile(destination + "g.zip"), damaged);
}

// A disk on which the user rewrites `path` once the rebuild has placed
// `placed`: a source changed while the rebuild finishes.
struct ChangingDisk : FaultyFileSystem {
  std::string path, placed, contents;
  std::unique_ptr<ReadableFile> OpenForReading(std::string_view file) override {
    if (file == path && !contents.empty() && FaultyFileSystem::FileExists(placed))
      WriteFile(path, std::exchange(contents, ""));
    return FaultyFileSystem::OpenForReading(file);
  }
};

// A source is removed only while it still holds what was placed: one
// changed during the run, a loose file or a zip member of the same sizes,
// stays with its new contents.
TEST_F(RebuildSafetyTest, ASourceChangedDuringTheRunIsNotRemoved) {
  AddGame("g", {{"r1", kA}, {"r2", kB}});
  Load();
  settings.rebuildRemoveSources = true;
  settings.rebuildZip = false;
  for (bool zip : {false, true}) {
    SCOPED_TRACE(zip ? "zip member" : "loose file");
    ClearDestination();
    const std::string changed = source + (zip ? "a.zip" : "a");
    if (zip) {
      WriteFile(changed, StoredZip({{"m", kA}, {"n", "no rom"}}));
    } else {
      WriteFile(changed, kA);
    }
    WriteFile(source + "b", kB);
    ChangingDisk disk;
    disk.path = changed;
    disk.placed = destination + "g/r2";
    disk.contents = zip ? StoredZip({{"m", kOther}, {"n", "no rom"}}) : kOther;
    RebuildOutcome outcome = Rebuild(disk);
    EXPECT_EQ(Failures(outcome),
              Texts{changed + (zip ? "/m" : "") + ": changed or became unreadable during the run; it was kept"});
    EXPECT_EQ(Tree(destination), (Files{{"g/r1", kA}, {"g/r2", kB}}));
    EXPECT_EQ(ReadFile(changed), zip ? StoredZip({{"m", kOther}, {"n", "no rom"}}) : kOther);
    EXPECT_FALSE(FileExists(source + "b"));
  }
}

TEST_F(RebuildSafetyTest, RemovesOnlySourcesWhoseOwnContentsReachedTheDestinationAndKeepsTheSourceFolder) {
  // "nd.rom" has no known dump: any file of its name and size matches it.
  char crcOfA[9];
  std::snprintf(crcOfA, sizeof crcOfA, "%08x", CrcOf(kA));
  LoadList("game (\n\tname g\n\tdescription \"g\"\n\trom ( name nd.rom size 13 crc 00000000 )\n"
           "\trom ( name r1 size 13 crc " + std::string(crcOfA) + " )\n)\n");
  WriteFile(source + "a/nd.rom", kA);
  WriteFile(source + "b/deeper/nd.rom", kOther);  // the same name and size, other contents
  WriteFile(source + "c/deeper/copy", kA);        // r1 again, placed by a/nd.rom already
  WriteFile(source + "d/nd.rom", kA);             // nd.rom again, the same contents
  ASSERT_EQ(mkfifo((source + "e.bin").c_str(), 0644), 0);
  WriteFile(source + "f/gone", kA);  // vanishes between the listing and the reading
  settings.rebuildRemoveSources = true;
  settings.rebuildZip = false;
  FaultyFileSystem disk;
  disk.Vanish("*/source/f/gone");
  RebuildOutcome outcome = Rebuild(disk);
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(Tree(destination), (Files{{"g/nd.rom", kA}, {"g/r1", kA}}));
  EXPECT_EQ(Tree(source), (Files{{"b/deeper/nd.rom", kOther}, {"f/gone", kA}}));
  EXPECT_FALSE(FolderExists(source + "c")) << "an emptied subfolder goes with the folders it held";
  EXPECT_TRUE(fs::exists(source + "e.bin")) << "an unreadable source stays";
  EXPECT_NE(Log().find(source + "e.bin [SKIPPED]\n"), std::string::npos);
  EXPECT_EQ(Failures(outcome), (Texts{source + "e.bin: could not be read", source + "f/gone: could not be read"}));

  // With everything placed, the emptied source folder stays and the same
  // command runs again.
  fs::remove_all(source + "b");
  fs::remove_all(source + "f");
  fs::remove(source + "e.bin");
  WriteFile(source + "x", kA);
  outcome = Rebuild();
  EXPECT_TRUE(outcome.completed);
  EXPECT_TRUE(ui.MessageTexts().empty()) << ui.MessageTexts().at(0);
  EXPECT_TRUE(FolderExists(source)) << "the user's source folder stays";
  EXPECT_TRUE(Rebuild().completed);
  EXPECT_TRUE(ui.MessageTexts().empty()) << ui.MessageTexts().at(0);

  // A source folder inside the destination: a file already in its place is
  // there only once, so it stays.
  settings.rebuildSource = destination + "g/";
  EXPECT_TRUE(Rebuild().completed);
  EXPECT_EQ(Tree(destination), (Files{{"g/nd.rom", kA}, {"g/r1", kA}}));
}

TEST_F(RebuildSafetyTest, TellsTwoMembersOfOneNameApartWhenCopyingAndRemoving) {
  AddGame("g", {{"r2", kB}});
  Load();
  WriteFile(source + "dup.zip", StoredZip({{"same1", kOther}, {"same1", kB}}));
  settings.rebuildRemoveSources = true;
  RebuildOutcome outcome = Rebuild();
  EXPECT_EQ(Log(), source + "dup.zip/same1 [SKIPPED]\n" + source + "dup.zip/same1\n  -> g/r2\n\n");
  EXPECT_EQ(Tree(destination), (Files{{"g.zip:r2", kB}}));
  EXPECT_EQ(Tree(source), (Files{{"dup.zip:same1", kOther}})) << "the member not rebuilt stays";
  EXPECT_TRUE(outcome.failures.empty());

  // Two ROMs whose names differ only in case are two members, each read
  // back under its own spelling.
  AddGame("h", {{"r", kA}, {"R", kB}});
  Load();
  WriteFile(source + "h1", kA);
  WriteFile(source + "h2", kB);
  outcome = Rebuild();
  EXPECT_TRUE(outcome.failures.empty()) << Failures(outcome).at(0);
  EXPECT_EQ(Tree(destination), (Files{{"g.zip:r2", kB}, {"h.zip:R", kB}, {"h.zip:r", kA}}));
}

TEST_F(RebuildSafetyTest, ClearsWhatAnInterruptedRunLeftAndNothingElse) {
  AddGame("g", {{"r1", kA}});
  Load();
  WriteZip(destination + "g.zip", {{"r1", kA}});
  WriteFile(destination + "g.zip.Ab3dE9", "an unfinished zip write");
  WriteFile(destination + "n.zip.Q1w2E3", "the unfinished write of a new zip");
  WriteFile(destination + "h/.kestrel-4194305-0.tmp", "an unfinished copy");
  WriteFile(root / "temp/kestrel-rebuild-4194305/member", kA);  // no process has that number
  // Look-alikes, and the work folder of a process that runs.
  WriteFile(destination + "g.zip.old-01", "mine");
  WriteFile(destination + "h/.kestrel-1-0.tmp", "a copy in progress");
  WriteFile(root / "temp/kestrel-rebuild-1/member", kA);
  WriteFile(source + "x", kA);
  // An unfinished change to a source zip, and a look-alike with no zip.
  WriteZip(source + "y.zip", {{"junk", "junk"}});
  WriteFile(source + "y.zip.Zz9yY8", "an unfinished removal");
  WriteFile(source + "z.zip.Zz9yY8", "mine");
  WriteZip(source + "y.zip.backup", {{"old", "old"}});  // a complete zip: the user's copy
  RebuildOutcome outcome = Rebuild();
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(Leftovers(outcome), (Texts{root / "temp/kestrel-rebuild-4194305/", destination + "h/.kestrel-4194305-0.tmp"}));
  // An unfinished zip write is never deleted: without a backup folder it stays.
  const std::string kKept = ": is left from an interrupted zip write; it was kept, as it could not be moved to "
                            "the backup folder";
  EXPECT_EQ(Failures(outcome), (Texts{destination + "g.zip.Ab3dE9" + kKept, destination + "n.zip.Q1w2E3" + kKept,
                                      source + "y.zip.Zz9yY8" + kKept}));
  EXPECT_EQ(Tree(destination), (Files{{"g.zip.Ab3dE9", "an unfinished zip write"},
                                      {"g.zip.old-01", "mine"},
                                      {"g.zip:r1", kA},
                                      {"h/.kestrel-1-0.tmp", "a copy in progress"},
                                      {"n.zip.Q1w2E3", "the unfinished write of a new zip"}}));
  EXPECT_EQ(Tree(root / "temp/"), (Files{{"kestrel-rebuild-1/member", kA}})) << "this run's own folder is gone";
  Files sourceLeft = Tree(source);
  EXPECT_EQ(sourceLeft.count("y.zip.Zz9yY8"), 1u);
  EXPECT_EQ(sourceLeft.count("y.zip.backup"), 1u);
  EXPECT_EQ(sourceLeft.count("z.zip.Zz9yY8"), 1u);

  settings.backupFolder = root / "backup/";
  outcome = Rebuild();
  EXPECT_EQ(Leftovers(outcome), (Texts{destination + "g.zip.Ab3dE9 -> " + root / "backup/g.zip.Ab3dE9",
                                       destination + "n.zip.Q1w2E3 -> " + root / "backup/n.zip.Q1w2E3",
                                       source + "y.zip.Zz9yY8 -> " + root / "backup/y.zip.Zz9yY8"}));
  EXPECT_TRUE(outcome.failures.empty());
}

TEST_F(RebuildSafetyTest, NamesEverySourceItCouldNotReadAndReadsZipsOfAnyCase) {
  std::string big(4000, 'b');
  AddGame("g", {{"r1", kA}, {"r2", kB}, {"r3", big}, {"r4", kOther}, {"r6", "six"}, {"r7", "PK but not a zip"}});
  AddGame("h", {{"r5", "contents of 5"}});
  Load();
  // A destination zip that does not read is not written to.
  WriteZip(destination + "h.zip", {{"mine", "mine"}});
  std::string unreadable = ReadFile(destination + "h.zip");
  unreadable.resize(unreadable.size() - 30);  // its directory cut short
  WriteFile(destination + "h.zip", unreadable);
  WriteFile(source + "five", "contents of 5");
  WriteZip(source + "DOWNLOAD.ZIP", {{"one", kA}, {"two", kB}});
  WriteZip(source + "locked.zip", {{"r2", kB}});
  MarkEncrypted(source + "locked.zip");
  WriteZip(source + "packed.zip", {{"big", big}}, {"-Z", "bzip2"});
  WriteZip(source + "rotten.zip", {{"four", kOther}}, {"-0"});
  std::string rotten = ReadFile(source + "rotten.zip");
  rotten.replace(rotten.find(kOther), 1, "C");  // stored data that no longer match their CRC
  WriteFile(source + "rotten.zip", rotten);
  WriteFile(source + "broken.zip", "PK but not a zip");  // explained, then read as a file
  WriteFile(source + "my file \xe9.bin", "six");
  WriteFile(source + "r2", "an unrelated file named like the ROM");
  settings.rebuildRemoveSources = true;
  RebuildOutcome outcome = Rebuild();
  std::string told;  // only the damaged source zip is explained, twice
  for (const std::string& text : ui.MessageTexts())
    told += text.substr(0, text.find(':')) + (text.find("\n\n" + source + "broken.zip") != std::string::npos ? " of broken.zip; " : " of another; ");
  EXPECT_EQ(told, "Unsupported Zipformat In File of broken.zip; Corrupt Zipfile of broken.zip; ");
  EXPECT_EQ(ReadFile(destination + "h.zip"), unreadable);
  fs::remove(destination + "h.zip");
  EXPECT_EQ(Tree(destination),
            (Files{{"g.zip:r1", kA}, {"g.zip:r2", kB}, {"g.zip:r6", "six"}, {"g.zip:r7", "PK but not a zip"}}));
  EXPECT_FALSE(FileExists(source + "DOWNLOAD.ZIP")) << "both members were rebuilt and removed";
  EXPECT_EQ(ReadFile(source + "r2"), "an unrelated file named like the ROM");
  EXPECT_EQ(Failures(outcome),
            (Texts{source + "broken.zip: is not a readable zip; it was read as a plain file",
                   source + "locked.zip/r2: is encrypted",
                   source + "packed.zip/big: is compressed with a method Kestrel cannot read",
                   source + "rotten.zip/four: is damaged: its contents do not match its CRC-32",
                   destination + "h.zip: could not be read; it was left as it is"}));
}

}  // namespace
}  // namespace kestrel::testing
