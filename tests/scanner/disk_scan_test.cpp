// Disks (CHD files) in the collection: found where the layout keeps them or
// where MAME also looks, judged by their header's SHA-1, and the CHD files
// no disk names reported but never removed.
#include <gtest/gtest.h>

#include "scan_fixture.h"

namespace kestrel::testing {
namespace {

constexpr char kSha1Good[] = "48496666d1613700ae9274f9a5361ea5bbaebea0";
constexpr char kSha1Other[] = "ecb4f08eddb2773e1497305fa85a2cf6c6188933";

// A version 5 header, uncompressed and empty (hunks of 4096 bytes), whose
// SHA-1 is `sha1`.
std::string Chd(const std::string& sha1) {
  std::string bytes(124, '\0');
  bytes.replace(0, 8, "MComprHD");
  bytes[11] = 124;
  bytes[15] = 5;
  bytes[58] = 0x10;
  Sha1Digest digest = *ParseSha1(sha1);
  bytes.replace(84, 20, std::string(digest.begin(), digest.end()));
  return bytes;
}

DiskEntry Disk(const std::string& name, const char* sha1, const std::string& merge = "") {
  DiskEntry disk;
  disk.name = name;
  if (sha1 != nullptr) disk.sha1 = ParseSha1(sha1);
  disk.merge = merge;
  if (sha1 == nullptr) disk.status = DumpStatus::kNoDump;
  return disk;
}

class DiskScanTest : public ScanFixture {
 protected:
  // A parent with a disk its clone shares by `merge`, the clone with a disk
  // of its own and one MAME runs without, and a game of disks only.
  DiskScanTest() {
    AddGame("par", {{"p.rom", "ppp"}}).disks = {Disk("hdd", kSha1Good)};
    GameSet& clone = AddGame("clo", {{"c.rom", "ccc"}}, "par");
    clone.disks = {Disk("hdd", kSha1Good, "hdd"), Disk("own", kSha1Good), Disk("laser", kSha1Good)};
    clone.disks[2].optional = true;
    AddGame("only", {}).disks = {Disk("d", kSha1Good), Disk("never", nullptr)};
    Link();
    settings.checkCase = true;
  }
};

TEST_F(DiskScanTest, JudgesEachCopyByItsHeaderAndFindsSharedDisksInTheParent) {
  WriteZipSet(romPath, "par", {{"p.rom", "ppp"}});
  // Of the clone's two copies of "own" the wrong one beats the unreadable.
  WriteFolderSet(romPath, "par", {{"hdd.chd", Chd(kSha1Good)}, {"stray.chd", Chd(kSha1Other)}, {"own.chd", "?"}});
  WriteFolderSet(romPath, "clo", {{"c.rom", "ccc"}, {"OWN.chd", Chd(kSha1Other)}});
  WriteFolderSet(romPath, "only", {{"d.chd", "not a disk"}});
  settings.fixUnneeded = true;
  auto before = Snapshot(true);
  Scan();
  EXPECT_EQ(Lines(), (Names{"clo game [folder: clo - parent: par]",
                            std::string("wrong disk: own [wrong: ") + kSha1Other + "] [right: " + kSha1Good + "]",
                            "romset: bad (own INCORRECT CHECKSUM, laser NOT FOUND BUT OPTIONAL)",
                            "only game [folder: only]", "unreadable disk: " + romPath + "only/d.chd",
                            "romset: not found", "par game [folder: par]",
                            "unneeded disk: " + romPath + "par/stray.chd", "romset: good"}));
  EXPECT_EQ(Snapshot(true), before) << "a CHD is never removed";
  EXPECT_EQ(ScanOf("clo").disks[0].foundPath, romPath + "par/hdd.chd");
}

TEST_F(DiskScanTest, MissingDisksAndTheLayoutsThatKeepThemElsewhere) {
  WriteZipSet(romPath, "par", {{"p.rom", "ppp"}});
  WriteZipSet(romPath, "clo", {{"c.rom", "ccc"}});
  // Merged sets keep the clone's own disk in the parent's folder; split
  // sets keep it in the clone's, but MAME finds it in the parent's too, and
  // it stays needed there while the clone's folder lacks it; non-merged sets
  // look only in the clone's.
  WriteFolderSet(romPath, "par", {{"own.chd", Chd(kSha1Good)}});
  const std::string missingHdd = std::string("missing disk: hdd [sha1: ") + kSha1Good + "]";
  const std::string missingOwn = std::string("missing disk: own [sha1: ") + kSha1Good + "]";
  const std::string missingD = std::string("missing disk: d [sha1: ") + kSha1Good + "]";
  struct Case {
    SetLayout layout;
    Names lines;
  } cases[] = {
      {SetLayout::kNonMerged,
       {"clo game [folder: clo - parent: par]", missingHdd, missingOwn,
        "romset: bad (hdd NOT FOUND, own NOT FOUND, laser NOT FOUND BUT OPTIONAL)", "only game [folder: only]",
        "missing game: only game", missingD, "romset: not found", "par game [folder: par]", missingHdd,
        "unneeded disk: " + romPath + "par/own.chd", "romset: bad (hdd NOT FOUND)"}},
      {SetLayout::kSplit,
       {"clo game [folder: clo - parent: par]", missingHdd, "romset: bad (hdd NOT FOUND, laser NOT FOUND BUT OPTIONAL)",
        "only game [folder: only]", "missing game: only game", missingD, "romset: not found", "par game [folder: par]",
        missingHdd, "romset: bad (hdd NOT FOUND)"}},
      {SetLayout::kMerged,
       {"clo game [folder: clo - parent: par]", missingHdd, "romset: bad (hdd NOT FOUND, laser NOT FOUND BUT OPTIONAL)",
        "only game [folder: only]", "missing game: only game", missingD, "romset: not found", "par game [folder: par]",
        missingHdd, "romset: bad (hdd NOT FOUND)"}},
  };
  for (const Case& c : cases) {
    settings.scanMergeMode = c.layout;
    Scan();
    EXPECT_EQ(Lines(), c.lines) << int(c.layout);
  }
}

}  // namespace
}  // namespace kestrel::testing
