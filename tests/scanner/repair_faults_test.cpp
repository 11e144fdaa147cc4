// Repairs meeting faults: read-only files and folders, a zip update that
// fails and a full disk. Each leaves every file of the collection as it was.
#include <sys/stat.h>

#include "scanner/scan_fixture.h"
#include "support/faulty_file_system.h"
#include "support/stored_zip.h"

namespace kestrel::testing {
namespace {

const std::string kA(64, 'a'), kB(64, 'b');

class RepairFaultsTest : public RepairFixture {
 protected:
  void FixEverything() {
    settings.checkCase = settings.fixCase = settings.fixName = settings.fixLength = settings.fixUnneeded =
        settings.fixMissing = true;
  }
  size_t FailureMessages() const {
    return std::ranges::count_if(ui.messages, [](const RecordedMessage& m) { return m.title == "Fix Failed"; });
  }
};

TEST_F(RepairFaultsTest, ReadOnlyFilesAndFoldersAreLeftAsTheyAre) {
  FixEverything();
  std::string lockedPath = root / "locked/";
  std::filesystem::create_directories(lockedPath);
  settings.romPaths.push_back({lockedPath});
  const std::string rom = PseudoRandom(4096, 1);
  AddGame("alpha", {{"big.rom", rom}});
  AddGame("beta", {{"a.rom", kA}, {"b.rom", kB}});
  AddGame("gamma", {{"a.rom", kA}, {"b.rom", kB}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"big.rom", "xx" + rom}});
  WriteFolderSet(romPath, "beta", {{"A.rom", kA}, {"x.rom", kB}, {"junk.txt", "junk"}});
  WriteZipSet(lockedPath, "gamma", {{"a.rom", kA}, {"B.ROM", kB}, {"junk.txt", "junk"}});
  ::chmod((romPath + "alpha/big.rom").c_str(), 0444);
  ::chmod((romPath + "beta").c_str(), 0555);
  ::chmod(lockedPath.c_str(), 0555);
  auto before = Snapshot();

  Scan();

  EXPECT_EQ(Snapshot(), before);
  EXPECT_TRUE(HasLine("wrong length: big.rom [wrong: 4098] [right: 4096] [not fixed]"));
  EXPECT_TRUE(HasLine("wrong spelling: a.rom [wrong: A.rom] [right: a.rom] [not fixed]"));
  EXPECT_TRUE(HasLine("wrong name: " + romPath + "beta/x.rom [wrong: x.rom] [right: b.rom] [not fixed]"));
  EXPECT_TRUE(HasLine("unneeded file: " + romPath + "beta/junk.txt [not fixed]"));
  EXPECT_TRUE(HasLine("wrong spelling: b.rom [wrong: B.ROM] [right: b.rom] [not fixed]"));
  EXPECT_TRUE(HasLine("unneeded file: " + lockedPath + "gamma/junk.txt [not fixed]"));
  EXPECT_GE(FailureMessages(), 6u);
}

TEST_F(RepairFaultsTest, AFullDiskOrAFailedZipUpdateChangesNothing) {
  FixEverything();
  const std::string big = PseudoRandom(200000, 5), rom = PseudoRandom(100000, 6);
  AddGame("alpha", {{"a.rom", big}, {"b.rom", kB}});
  AddGame("beta", {{"r.rom", rom}});
  AddGame("gamma", {{"g.rom", big}});
  Link();
  WriteZipSet(romPath, "alpha", {{"a.rom", big}, {"B.ROM", kB}, {"junk.txt", "junk"}});
  // Its backup would not fit on the disk, so it must stay.
  WriteFolderSet(romPath, "beta", {{"r.rom", "yy" + rom}, {"big.bin", rom}});
  std::string addPath = root / "add/";
  settings.addPaths = {{addPath}};
  WriteFolderSet(addPath, "gamma", {{"g", big}});
  auto before = Snapshot(true);
  FaultyFileSystem fullDisk;
  fullDisk.FillDiskAfter(65536);
  Scan(false, fullDisk);
  EXPECT_EQ(Snapshot(true), before);
  EXPECT_TRUE(HasLine("wrong spelling: b.rom [wrong: B.ROM] [right: b.rom] [not fixed]"));
  EXPECT_TRUE(HasLine("unneeded file: " + romPath + "alpha/junk.txt [not fixed]"));
  EXPECT_TRUE(HasLine("wrong length: r.rom [wrong: 100002] [right: 100000] [not fixed]"));
  EXPECT_TRUE(HasLine("unneeded file: " + romPath + "beta/big.bin [not fixed]"));
  EXPECT_FALSE(RomScanOf("gamma", "g.rom").found);
  EXPECT_GE(FailureMessages(), 4u);
  EXPECT_EQ(FileNames(settings.tempFolder), Names{});

  // With room on the disk the same scan repairs it all.
  Scan();
  EXPECT_EQ(ZipMembers(romPath + "alpha.zip"), (Members{{"a.rom", big}, {"b.rom", kB}}));
  EXPECT_EQ(ReadFile(romPath + "beta/r.rom"), rom);
  EXPECT_EQ(ZipMembers(settings.backupFolder + "beta.zip"), (Members{{"big.bin", rom}, {"r.rom", "yy" + rom}}));
  EXPECT_EQ(ZipMembers(romPath + "gamma.zip"), (Members{{"g.rom", big}}));
}

// The removal of unneeded entries keeps each in the backup zip first, with
// the backup option off too; what cannot be read whole for that stays.
TEST_F(RepairFaultsTest, RemovalKeepsEverythingItRemovesAndNothingItCannotRead) {
  settings.fixUnneeded = true;
  settings.makeBackups = false;
  ui.messageAnswers = {kResultYes};  // the warning about the backup option
  AddGame("alpha", {{"a.rom", kA}});
  AddGame("beta", {{"a.rom", kA}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"a.rom", kA}, {"junk.txt", "junk"}});
  // A member whose contents do not match its CRC-32, and a file too large
  // to be read for a backup.
  std::string beta = StoredZip({{"a.rom", kA}, {"bad.txt", "damaged"}});
  std::string crc(4, '\0');
  for (int i = 0; i < 4; ++i) crc[i] = char((CrcOf("damaged") >> (8 * i)) & 0xFF);
  for (size_t at = beta.find(crc); at != std::string::npos; at = beta.find(crc, at + 4)) {
    beta.replace(at, 4, "\1\2\3\4");
  }
  WriteFile(romPath + "beta.zip", beta);
  WriteFile(romPath + "alpha/huge.bin", "");
  std::filesystem::resize_file(romPath + "alpha/huge.bin", uint64_t{5} << 30);
  // A working folder placed inside a set is no stray of the set.
  settings.tempFolder = romPath + "alpha/work/";
  WriteFile(settings.tempFolder + "mine.tmp", "mine");

  Scan();

  EXPECT_EQ(FileNames(romPath + "alpha"), (Names{"a.rom", "huge.bin", "work"}));
  EXPECT_EQ(UnneededNames("alpha"), (Names{"huge.bin", "junk.txt"}));
  EXPECT_EQ(ReadFile(settings.tempFolder + "mine.tmp"), "mine");
  EXPECT_EQ(ZipMembers(settings.backupFolder + "alpha.zip"), (Members{{"junk.txt", "junk"}}));
  EXPECT_EQ(ReadFile(romPath + "beta.zip"), beta);
  EXPECT_TRUE(HasLine("unneeded file: " + romPath + "beta/bad.txt [not fixed]"));
  EXPECT_TRUE(HasLine("unneeded file: " + romPath + "alpha/huge.bin [not fixed]"));
}

}  // namespace
}  // namespace kestrel::testing
