// Sets that are there but cannot be read, or only in part: each is told as
// such, never as missing, and a damaged zip's folder is looked at instead.

#include "scanner/scan_fixture.h"
#include "support/faulty_file_system.h"
#include "support/stored_zip.h"

namespace kestrel::testing {
namespace {

const std::string kA(64, 'a'), kB(64, 'b'), kC(64, 'c'), kR(32, 'r');

class UnreadableSetsTest : public ScanFixture {
 protected:
  UnreadableSetsTest() {
    settings.checkMissing = settings.checkCase = settings.checkUnneeded = true;
    settings.checkLength = settings.checkChecksum = settings.checkName = true;
    showStatistics = false;
  }
};

// A zip or file that is there but cannot be read, and a member that cannot
// be verified, are unreadable, never missing.
TEST_F(UnreadableSetsTest, UnreadableFilesAreToldAsSuchNotAsMissing) {
  AddGame("locked", {{"l.rom", kA}});
  AddGame("loose", {{"r.rom", kB}});
  AddGame("secret", {{"s.rom", kC}});
  AddGame("packed", {{"p.rom", kA}});
  Link();
  WriteZipSet(romPath, "locked", {{"l.rom", kA}});
  WriteFolderSet(romPath, "loose", {{"r.rom", kB}});
  // The encryption flag in both headers is all a reader sees of it.
  std::string secret = StoredZip({{"s.rom", kC}});
  secret[6] |= 1;
  secret[secret.find("PK\x01\x02") + 8] |= 1;
  WriteFile(romPath + "secret.zip", secret);
  // Imploded (6): a method neither the zip reader nor libarchive decodes.
  MemberBytes imploded("p.rom", kA);
  imploded.method = 6;
  WriteFile(romPath + "packed.zip", BuildZip({imploded}));
  FaultyFileSystem fs;
  fs.Fail({FileOperation::kOpen, "*/locked.zip"});
  fs.Fail({FileOperation::kOpen, "*/loose/r.rom"});

  Scan(false, fs);

  // MAME judges a member by the CRC-32 its zip records, so to MAME the
  // members it cannot unpack are good.
  EXPECT_EQ(Lines(), (Names{"locked game [folder: locked]", "unreadable set: " + romPath + "locked.zip",
                            "unreadable rom: l.rom", "romset: not found", "loose game [folder: loose]",
                            "unreadable rom: r.rom", "romset: not found", "packed game [folder: packed]",
                            "unreadable rom: p.rom", "romset: good", "secret game [folder: secret]",
                            "unreadable rom: s.rom", "romset: good"}));
}

// The set is read again by every check that looks at it; the user hears of
// a damaged zip once per scan, and its folder is looked at instead.
// The zip library's header check holds for every read of the scan: a set
// whose central header disagrees with its local one reads with the plain
// check and is a damaged zip with the strict one.
TEST_F(UnreadableSetsTest, DamagedZipIsExplainedOncePerScanAndThenLookedForAsAFolder) {
  AddGame("dmg", {{"r.rom", kR}});
  AddGame("odd", {{"r.rom", kR}});
  Link();
  WriteFile(romPath + "dmg.zip", "PK\x03\x04 not really a zip");
  WriteFolderSet(romPath, "dmg", {{"r.rom", kR}});
  WriteZipSet(romPath, "odd", {{"r.rom", kR}});
  std::string bytes = ReadFile(romPath + "odd.zip");
  bytes[bytes.find("PK\1\2") + 12] ^= 0x01;  // the modification time
  WriteFile(romPath + "odd.zip", bytes);
  const std::string dmg = "Corrupt Zipfile:\n\n" + romPath + "dmg.zip\n", odd = "Corrupt Zipfile:\n\n" + romPath + "odd.zip\n";
  EXPECT_TRUE(Scan().ranToEnd);
  EXPECT_TRUE(RomScanOf("dmg", "r.rom").checksumCorrect && RomScanOf("odd", "r.rom").checksumCorrect);
  EXPECT_EQ(std::make_pair(MessagesStartingWith(dmg), MessagesStartingWith(odd)), (std::pair<size_t, size_t>{1, 0}));

  zipLibrary.headerCheck = ZipHeaderCheck::kBothHeaders;
  EXPECT_TRUE(Scan().ranToEnd);
  EXPECT_FALSE(RomScanOf("odd", "r.rom").checksumCorrect);
  EXPECT_EQ(std::make_pair(MessagesStartingWith(dmg), MessagesStartingWith(odd)), (std::pair<size_t, size_t>{2, 1}));
}

}  // namespace
}  // namespace kestrel::testing
